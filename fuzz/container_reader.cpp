// Fuzzes the container reader over an installer file in memory (any bytes; the seeds are
// valid installers), with and without holding the written files, and the installer tool's
// listing of the same bytes. Both are checked against a plain model of the chain walk.
#include "container/memory_file_system.hpp"
#include "container/reader.hpp"
#include "fuzz/chain_model.hpp"
#include "tools/packer/inspect.hpp"

#include <cstdio>
#include <cstdlib>

namespace {

const std::string installer_path = "installer.exe";
const std::string directory = "work\\";
const std::map<std::string, std::string> preset = {{"source", "work"}, {"commandline", "/s"}};

class caption_reporter : public replay::reporter {
public:
    void report(const std::string& caption, const std::string&) override { captions.push_back(caption); }
    std::vector<std::string> captions;
};

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "container_reader: %s\n", what);
        std::abort();
    }
}

void check_extraction(const std::string& bytes, const fuzzing::chain_outcome& expected, bool hold_files) {
    container::memory_file_system files;
    files.put(installer_path, bytes);
    caption_reporter reporter;
    container::value_table values;
    for (const auto& entry : preset)
        values.add(entry.first, entry.second);
    container::extraction run{reporter, directory, values};
    run.hold_files = hold_files;
    container::extract_container(files, installer_path, run);

    require(run.archive_valid == expected.archive_valid, "archive-valid flag differs from the model");
    require(run.complete == expected.complete, "completeness differs from the model");
    require(reporter.captions == expected.captions, "messages differ from the model");
    for (const auto& entry : preset)
        require(*values.find(entry.first) == entry.second, "a value of the run was replaced");
    for (const std::string& text : expected.texts_read) {
        const auto model = expected.values.find(text);
        const std::string* actual = values.find(text);
        if (preset.count(text) == 0)
            require(model == expected.values.end() ? actual == nullptr : actual && *actual == model->second,
                    "value table differs from the model");
    }

    std::vector<std::string> written;
    for (const std::string& name : expected.written)
        written.push_back(directory + name);
    require(run.written_files == written, "written files differ from the model");
    // Only verified files under their own names: no temporary or partial file stays.
    require(files.file_count() == expected.files.size() + 1, "a file other than the stored ones is left");
    for (const auto& file : expected.files)
        require(files.contents(directory + file.first) == file.second, "a stored file's bytes differ");
    require(files.open_files() == (hold_files ? expected.files.size() : 0), "open files after extraction");
    run.release_files();
    require(files.open_files() == 0, "open files after release");
}

void check_listing(const std::string& bytes, const fuzzing::chain_outcome& expected) {
    container::memory_file_system files;
    files.put(installer_path, bytes);
    std::uint64_t hashed = 0;
    const tools::listing listing =
        tools::inspect_installer(files, installer_path, [&hashed](std::uint64_t count) { hashed += count; });
    require(listing.tail_found == expected.tail_found, "the listing's tail differs from the model");
    require(listing.records_verified <= listing.records_read, "more records verified than read");
    require(hashed <= bytes.size(), "more file data hashed than the file holds");
    // The tool calls an installer complete exactly when Reader.exe would read it all, as
    // long as the stored files did not take every temporary name.
    if (!expected.out_of_temporary_names)
        require(listing.complete() == (expected.archive_valid && expected.complete),
                "the listing's verdict differs from the extraction's");
    require(files.open_files() == 0, "open files after listing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const fuzzing::chain_outcome expected = fuzzing::chain_model(bytes, preset).walk();
    check_extraction(bytes, expected, false);
    check_extraction(bytes, expected, true);
    check_listing(bytes, expected);
    return 0;
}
