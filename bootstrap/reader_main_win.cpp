// Entry point of Reader.exe.
#include "bootstrap/command_text.hpp"
#include "bootstrap/run.hpp"
#include "support/crash/dll_search.hpp"

namespace {

bool is_ansi_lead_byte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != 0; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The program runs elevated, usually from a downloads folder: nothing it loads from
    // now on may come from there or from the working directory.
    replay::restrict_dll_search();
    const std::string text(bootstrap::command_text(::GetCommandLineA(), is_ansi_lead_byte));
    return static_cast<int>(bootstrap::run(instance, text));
}
