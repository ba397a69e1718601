// Entry point of Reader.exe.
#include "bootstrap/command_text.hpp"
#include "bootstrap/run.hpp"

namespace {

bool is_ansi_lead_byte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != 0; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::string text(bootstrap::command_text(::GetCommandLineA(), is_ansi_lead_byte));
    return static_cast<int>(bootstrap::run(instance, text));
}
