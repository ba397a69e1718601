// Writes the container reader's seed installers into the folder named on the command line:
// small installers laid out by the tests' container builder and by the installer tool's
// own build code, valid ones and a few with the damage the reader must handle.
#include "container/memory_file_system.hpp"
#include "tests/container/test_container.hpp"
#include "tools/packer/build.hpp"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

using container_test::test_container;

const std::string payload = std::string("MZ setup program\0with zero bytes", 32);
const std::string parameters = "/V\"USER_BRAND_NAME=\\\"Quorlin\\\" WEBINSTALLER=1\"";

// An installer as the tool builds it from a small stub, a payload file and two values.
std::string built_installer() {
    container::memory_file_system files;
    files.put("Reader.exe", "MZ stub image holding the constant chunked-installer-tail");
    files.put("QZVPROSetup.exe", payload);
    tools::build_request request;
    request.stub_path = "Reader.exe";
    request.output_path = "installer.exe";
    request.groups = {{true, "installer32", "QZVPROSetup.exe", ""},
                      {true, "", "QZVPROSetup.exe", "notes.txt"},
                      {false, "executable32", "%installer32%", ""},
                      {false, "parameters", parameters, ""}};
    std::ostringstream err;
    if (!tools::build_installer(request, files, err, false)) {
        std::cerr << err.str();
        std::exit(1);
    }
    return *files.contents("installer.exe");
}

test_container delivered() {
    return test_container::delivered(payload).trailing(std::string(3, '\0') + std::string(40, 'c'));
}

std::string mixed_groups() {
    test_container c;
    c.file("", "empty.dat", "")
        .raw("unknown name", "other")
        .raw("unknown kind", "later")
        .tail()
        .file("installer32", "QZVPROSetup.exe", payload)
        .value("parameters", "nearer the start")
        .value("executable32", "%installer32%")
        .value("parameters", parameters)
        .tail();
    return c.bytes();
}

std::string hostile_name() {
    test_container c;
    c.file("installer32", "..\\QZVPROSetup.exe", payload).value("parameters", parameters).tail();
    return c.bytes();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " FOLDER\n";
        return 2;
    }
    const std::pair<const char*, std::string> seeds[] = {
        {"built", built_installer()},
        {"delivered", delivered().bytes()},
        {"delivered_signed", delivered().damage("stub image").bytes()},
        {"payload_damaged", delivered().damage("file installer32 data").bytes()},
        {"mixed_groups", mixed_groups()},
        {"hostile_name", hostile_name()},
    };
    for (const auto& seed : seeds) {
        std::ofstream out(std::string(argv[1]) + "/" + seed.first, std::ios::binary);
        out << seed.second;
        if (!out) {
            std::cerr << "cannot write " << argv[1] << "/" << seed.first << '\n';
            return 1;
        }
    }
    return 0;
}
