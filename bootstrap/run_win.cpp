// The run sequence: silent mode, configuration, the single-instance lock, the working
// directory, the container, the setup program's command line, the launch and the cleanup.
#include "bootstrap/run.hpp"

#include "bootstrap/language.hpp"
#include "bootstrap/launch.hpp"
#include "bootstrap/message_box_reporter.hpp"
#include "bootstrap/payload_command_line.hpp"
#include "bootstrap/working_directory.hpp"
#include "configuration/brand.hpp"
#include "configuration/startup.hpp"
#include "container/messages.hpp"
#include "container/reader.hpp"
#include "container/value_table.hpp"
#include "support/sync/real_mutex.hpp"
#include "support/text/strings.hpp"

#include <time.h>  // _time64: 64-bit seconds whatever the width of time_t
#include <exception>
#include <optional>

namespace bootstrap {

namespace {

constexpr DWORD module_path_buffer_size = 260;

// The state that the run's steps share, from the command text to the exit status.
struct run_state {
    bool silent = false;
    std::string working_directory;  // ends with a backslash
    std::string property_list;      // the "/V" text cut out of the command text
    container::value_table values;
};

// The program's own file, or empty text when its path does not fit the buffer (the
// reader then fails to open it and says so).
std::string own_module_path() {
    char buffer[module_path_buffer_size];
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer, module_path_buffer_size);
    if (length == 0 || length >= module_path_buffer_size)
        return {};
    return std::string(buffer, length);
}

// Makes a new working directory under the temporary folder and enters it.
std::optional<std::string> enter_working_directory(replay::reporter& reporter) {
    std::string temp_folder = temp_folder_path();
    if (temp_folder.empty()) {
        reporter.report("GetTempPath failed", "Unable to get Temporary Directory");
        temp_folder = fallback_temp_folder;
    }
    // Normally there already; this matters for the fallback or a temporary folder that went missing.
    create_folder(temp_folder);
    const auto directory = create_working_directory(temp_folder, run_number(_time64(nullptr)));
    if (!directory || !::SetCurrentDirectoryA(directory->c_str())) {
        reporter.report("SetCurrentDirectory failed", "Unable to set Working Directory");
        return std::nullopt;
    }
    return directory;
}

// Sets "commandline" and the property list from the command text. The split is optional:
// when it fails, the command text goes on unchanged and no properties are passed.
void split_command_line(run_state& state, const std::string& command_text) {
    try {
        auto split = split_command_text(command_text);
        state.values["commandline"] = std::move(split.commandline);
        state.property_list = std::move(split.property_list);
    } catch (...) {
        state.values["commandline"] = command_text;
        state.property_list.clear();
    }
}

// Rewrites "parameters" with the command line and properties merged in. Optional: when
// it fails, the stored parameters stay as they are.
void merge_stored_parameters(run_state& state) {
    try {
        std::string merged =
            merge_parameters(state.values["parameters"], state.property_list, state.values["commandline"]);
        state.values["parameters"] = std::move(merged);
    } catch (...) {
    }
}

// Launches the unpacked setup program and returns its exit code (1 on failure). The
// stored files stay held against replacement until the launch has happened.
exit_status launch_payload(run_state& state, container::extraction& extraction, replay::reporter& reporter) {
    std::string launch_text = container::expand_values(state.values["parameters"], state.values);
    // The language prefix is optional: a missing uninstall key or value, a value that is
    // not text, or any other failure leaves the launch text as it is.
    try {
        launch_text = prefix_language(launch_text, installed_language(config::brand.m_product_name));
    } catch (...) {
    }
    launch_request request;
    request.file = state.working_directory + container::expand_values(state.values["executable32"], state.values);
    request.parameters = std::move(launch_text);
    request.directory = parent_folder(state.working_directory);
    return launch_and_wait(request, reporter, [&extraction] { extraction.release_files(); });
}

// Everything after the lock is held: returns the exit status.
exit_status run_locked(run_state& state, const std::string& command_text, replay::reporter& reporter) {
    const auto directory = enter_working_directory(reporter);
    if (!directory)
        return 1;
    state.working_directory = *directory;
    state.values["source"] = state.working_directory.substr(0, state.working_directory.size() - 1);
    split_command_line(state, command_text);

    container::extraction extraction{reporter, state.working_directory, state.values};
    extraction.hold_files = true;
    container::extract_container(own_module_path(), extraction);
    merge_stored_parameters(state);

    exit_status status = 1;
    if (extraction.archive_valid)
        status = launch_payload(state, extraction, reporter);
    else
        reporter.report(container::invalid_archive_caption, container::invalid_archive_text);
    extraction.release_files();

    // Leave the working directory so that it is no longer in use, then remove it.
    ::SetCurrentDirectoryA(parent_folder(state.working_directory).c_str());
    remove_tree(state.working_directory);
    return status;
}

}  // namespace

unsigned long run(HINSTANCE instance, const std::string& command_text) {
    run_state state;
    message_box_reporter reporter(state.silent);
    try {
        state.silent = replay::has_switch("/s", command_text);
        config::startup(instance);
        replay::real_mutex lock(single_instance_lock_name);
        if (!lock.acquire(0)) {
            reporter.report("Already Running",
                            "Another installation is already running or in the process of starting up.\n"
                            "Please wait until the other installation has completed before trying again.");
            return 1;
        }
        // The lock is never released: its handle closes with `lock`, and ownership ends
        // with the process, so the next installation finds it abandoned and takes it.
        return run_locked(state, command_text, reporter);
    } catch (const std::exception& error) {
        reporter.report(error.what(), "Unhandled Exception");
        return 1;
    } catch (...) {
        reporter.report("No context available", "Unhandled Exception");
        return 1;
    }
}

}  // namespace bootstrap
