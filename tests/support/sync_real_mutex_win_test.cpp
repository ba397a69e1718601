// The named system mutex against the real system: its namespace, a second process
// (tests/sync_helper), abandonment, refused releases and the open fall-back.
#include "support/exceptions/exception.hpp"
#include "support/sync/real_mutex.hpp"
#include "support/sync/scope.hpp"
#include "support/win/unique_handle.hpp"

#include "tests/common/system_owned_security_win.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using replay::win::kernel_handle;

// Names unique to this test process, so that parallel runs never meet.
std::string unique_name(const std::string& what) {
    return "replay-sync-test-" + std::to_string(::GetCurrentProcessId()) + "-" + what;
}

std::string helper_path() {
    std::vector<char> path(32768);
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::string own(path.data(), length);
    return own.substr(0, own.rfind('\\') + 1) + "sync_helper.exe";
}

kernel_handle start_helper(const std::string& arguments) {
    std::string command = "\"" + helper_path() + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        ADD_FAILURE() << "cannot start " << command << ": " << ::GetLastError();
        return kernel_handle();
    }
    ::CloseHandle(process.hThread);
    return kernel_handle(process.hProcess);
}

DWORD run_helper(const std::string& arguments) {
    const kernel_handle process = start_helper(arguments);
    if (!process)
        return 0xFFFFFFFF;
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0xFFFFFFFF;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

std::string what_of_failed(void (*action)(replay::real_mutex&), replay::real_mutex& mutex) {
    try {
        action(mutex);
    } catch (const replay::exception& e) {
        return e.what();
    }
    return "nothing thrown";
}

TEST(real_mutex, plain_name_lives_in_the_global_namespace) {
    const std::string name = unique_name("global");
    replay::real_mutex mutex(name);
    const kernel_handle global(::OpenMutexA(SYNCHRONIZE, FALSE, ("Global\\" + name).c_str()));
    EXPECT_TRUE(global);
    const kernel_handle session(::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()));
    EXPECT_FALSE(session);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(real_mutex, name_with_a_namespace_stays_as_it_is) {
    const std::string name = unique_name("local");
    replay::real_mutex mutex("Local\\" + name);
    EXPECT_TRUE(kernel_handle(::OpenMutexA(SYNCHRONIZE, FALSE, ("Local\\" + name).c_str())));
    EXPECT_FALSE(kernel_handle(::OpenMutexA(SYNCHRONIZE, FALSE, ("Global\\" + name).c_str())));
}

TEST(real_mutex, second_process_cannot_acquire_while_the_first_holds_it_and_takes_it_once_abandoned) {
    const std::string name = unique_name("held");
    const std::string event_name = unique_name("ready");
    const kernel_handle ready(::CreateEventA(nullptr, TRUE, FALSE, event_name.c_str()));
    ASSERT_TRUE(ready);
    const kernel_handle holder = start_helper("hold " + name + " " + event_name);
    ASSERT_TRUE(holder);
    const HANDLE waits[] = {ready.get(), holder.get()};
    ASSERT_EQ(::WaitForMultipleObjects(2, waits, FALSE, INFINITE), WAIT_OBJECT_0) << "the holder ended early";

    // This process keeps its handle open throughout, so the mutex outlives its holder.
    replay::real_mutex mutex(name);
    EXPECT_FALSE(mutex.acquire(0));
    EXPECT_EQ(run_helper("try " + name), 1u);

    ASSERT_TRUE(::TerminateProcess(holder.get(), 9));
    ::WaitForSingleObject(holder.get(), INFINITE);
    EXPECT_TRUE(mutex.acquire(0));
    EXPECT_EQ(run_helper("try " + name), 1u);
    mutex.unlock();
    EXPECT_EQ(run_helper("try " + name), 0u);
}

TEST(real_mutex, unlock_by_a_thread_that_does_not_own_it_is_refused) {
    replay::real_mutex mutex(unique_name("not-owner"));
    EXPECT_EQ(what_of_failed([](replay::real_mutex& m) { m.unlock(); }, mutex), "[ReleaseMutex returned 0x00000120]");

    std::thread owner([&] { EXPECT_TRUE(mutex.acquire(0)); });
    owner.join();
    EXPECT_EQ(what_of_failed([](replay::real_mutex& m) { m.unlock(); }, mutex), "[ReleaseMutex returned 0x00000120]");
}

// Each acquire counts: the guard's own release comes once, so exactly the one acquire
// made before it is left to release by hand.
TEST(real_mutex, scope_releases_once) {
    replay::real_mutex mutex(unique_name("scope"));
    ASSERT_TRUE(mutex.acquire(0));
    {
        replay::scope guard(&mutex);
        guard.unlock();
    }
    mutex.unlock();
    EXPECT_EQ(what_of_failed([](replay::real_mutex& m) { m.unlock(); }, mutex), "[ReleaseMutex returned 0x00000120]");
}

TEST(real_mutex, acquire_by_the_owner_succeeds_again) {
    replay::real_mutex mutex(unique_name("recursive"));
    EXPECT_TRUE(mutex.acquire(0));
    EXPECT_TRUE(mutex.acquire(0xFFFFFFFF));
    mutex.lock();
    mutex.unlock();
    mutex.unlock();
    mutex.unlock();
}

// A name taken by another kind of object gives no mutex handle either way.
TEST(real_mutex, name_held_by_an_event_is_refused_with_the_open_error) {
    const std::string name = unique_name("event");
    const kernel_handle event(::CreateEventA(nullptr, TRUE, FALSE, ("Global\\" + name).c_str()));
    ASSERT_TRUE(event);
    try {
        replay::real_mutex mutex(name);
        ADD_FAILURE() << "a mutex was made";
    } catch (const replay::exception& e) {
        EXPECT_STREQ(e.what(), "[OpenMutex returned 0x00000006]");
    }
}

// A mutex owned by the system account whose security grants everyone only the right to
// release: creating it again is refused, the open fall-back gets a handle without the
// right to wait, and the wait then fails with access denied.
TEST(real_mutex, existing_mutex_without_full_access_is_opened_for_release_only) {
    testing_support::system_owned_security security(MUTEX_MODIFY_STATE);

    const std::string name = unique_name("restricted");
    const kernel_handle existing(::CreateMutexA(security.attributes(), FALSE, ("Global\\" + name).c_str()));
    ASSERT_TRUE(existing);

    replay::real_mutex mutex(name);
    EXPECT_EQ(what_of_failed([](replay::real_mutex& m) { m.acquire(0); }, mutex),
              "[WaitForSingleObject returned 0x00000005]");
    EXPECT_EQ(what_of_failed([](replay::real_mutex& m) { m.lock(); }, mutex),
              "[WaitForSingleObject returned 0x00000005]");
}

}  // namespace
