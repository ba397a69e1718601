// Entry point of the installer tool "packer".
#include "container/file_system.hpp"
#include "tools/packer/packer.hpp"
#include "tools/packer/progress.hpp"

#include <iostream>

int main(int argc, char** argv) {
    tools::tool_context context{std::cout, std::cerr, container::native_file_system(),
                                tools::standard_error_is_terminal()};
    return tools::run_packer(std::vector<std::string>(argv + 1, argv + argc), context);
}
