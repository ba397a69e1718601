// Fuzzes %name% expansion with a random table (including self- and mutual references)
// and a random text.
#include "container/value_table.hpp"
#include "fuzz/fuzz_input.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::input in(data, size);
    container::value_table values;
    const int entries = in.take_byte() % 8;
    for (int i = 0; i < entries; ++i) {
        const std::string name = in.text();
        values.add(name, in.text());
    }
    const std::string text = in.rest();
    const std::string expanded = container::expand_values(text, values);
    // Without any '%' nothing can be a reference.
    if (text.find('%') == std::string::npos && expanded != text)
        std::abort();
    return 0;
}
