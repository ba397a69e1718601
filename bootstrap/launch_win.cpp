// Launching the setup program with ShellExecuteEx, waiting for it and taking its exit code.
#include "bootstrap/launch.hpp"

#include "support/win/unique_handle.hpp"

#include <shellapi.h>

namespace bootstrap {

exit_status launch_and_wait(const launch_request& request, replay::reporter& reporter,
                            const std::function<void()>& launched) {
    SHELLEXECUTEINFOA launch{};
    launch.cbSize = sizeof launch;
    launch.fMask = SEE_MASK_NOCLOSEPROCESS;
    launch.lpFile = request.file.c_str();
    launch.lpParameters = request.parameters.c_str();
    launch.lpDirectory = request.directory.c_str();
    launch.nShow = SW_SHOWNORMAL;
    const bool started = ::ShellExecuteExA(&launch) != 0;
    launched();
    if (!started) {
        reporter.report("ShellExecuteEx failed", "Unable to spawn process");
        return 1;
    }
    return wait_for_exit(launch.hProcess, reporter);
}

exit_status wait_for_exit(void* process, replay::reporter& reporter) {
    // Owned from here so that every way out closes it.
    const replay::win::kernel_handle handle(process);
    if (::WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0) {
        reporter.report("WaitForSingleObject failed", "Unable to wait for process");
        return 1;
    }
    DWORD code = 0;
    if (!::GetExitCodeProcess(process, &code)) {
        reporter.report("GetExitCodeProcess failed", "Unable to get process exit code");
        return 1;
    }
    return code;
}

}  // namespace bootstrap
