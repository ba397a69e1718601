// The named system mutex: created with a null DACL, opened as a fall-back.
#include "support/sync/real_mutex.hpp"

#include "support/exceptions/exception.hpp"
#include "support/sync/mutex_name.hpp"

namespace replay {

namespace {

// Only the right to release: what the open fall-back asks for when creating is refused.
constexpr DWORD mutex_modify_state = 0x0001;

std::uint32_t system_major_version() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    // A failed query leaves 0, which takes the old systems' rule; the name then works
    // within this logon.
    ::GetVersionExA(&version);
    return version.dwMajorVersion;
}

unsigned last_error() { return static_cast<unsigned>(::GetLastError()); }

}  // namespace

real_mutex::real_mutex(const std::string& name) {
    // A null DACL grants everyone full access, so that installations started by other
    // users or from other logons can open and wait on the same mutex.
    SECURITY_DESCRIPTOR descriptor{};
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof(attributes);
    attributes.lpSecurityDescriptor = &descriptor;
    attributes.bInheritHandle = FALSE;

    const std::string prepared = prepare_mutex_name(name, system_major_version());
    // An existing mutex of this name yields a handle to it, which is what a
    // single-instance lock needs.
    handle_.reset(::CreateMutexA(&attributes, FALSE, prepared.c_str()));
    if (!handle_)
        handle_.reset(::OpenMutexA(mutex_modify_state, FALSE, prepared.c_str()));
    if (!handle_)
        throw exception("OpenMutex returned 0x%08x", last_error());
}

real_mutex::~real_mutex() = default;

bool real_mutex::acquire(std::uint32_t timeout_ms) {
    switch (::WaitForSingleObject(handle_.get(), timeout_ms)) {
    case WAIT_TIMEOUT:
        return false;
    case WAIT_FAILED:
        throw exception("WaitForSingleObject returned 0x%08x", last_error());
    default:
        // WAIT_OBJECT_0, or WAIT_ABANDONED: an owner that ended without releasing must
        // not block the next installation, so its mutex is taken over.
        return true;
    }
}

void real_mutex::lock() { acquire(INFINITE); }

void real_mutex::unlock() {
    if (!::ReleaseMutex(handle_.get()))
        throw exception("ReleaseMutex returned 0x%08x", last_error());
}

}  // namespace replay
