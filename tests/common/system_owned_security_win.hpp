// A security descriptor for test objects that this user may only partly use: owned by
// the system account, granting everyone just the given rights. An owner may do more than
// the list says, so the object must not belong to the user running the test.
#pragma once

#include "support/win/windows.hpp"

#include <stdexcept>
#include <vector>

namespace testing_support {

class system_owned_security {
public:
    // Throws std::runtime_error naming the call that failed.
    explicit system_owned_security(DWORD everyone_rights) : acl_storage_(256) {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        check(::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone_),
              "AllocateAndInitializeSid(everyone)");
        check(::AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system_),
              "AllocateAndInitializeSid(system)");
        const PACL acl = reinterpret_cast<PACL>(acl_storage_.data());
        check(::InitializeAcl(acl, static_cast<DWORD>(acl_storage_.size()), ACL_REVISION), "InitializeAcl");
        check(::AddAccessAllowedAce(acl, ACL_REVISION, everyone_rights, everyone_), "AddAccessAllowedAce");
        check(::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION),
              "InitializeSecurityDescriptor");
        check(::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE), "SetSecurityDescriptorDacl");
        check(::SetSecurityDescriptorOwner(&descriptor_, system_, FALSE), "SetSecurityDescriptorOwner");
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    }
    ~system_owned_security() {
        if (everyone_ != nullptr)
            ::FreeSid(everyone_);
        if (system_ != nullptr)
            ::FreeSid(system_);
    }
    system_owned_security(const system_owned_security&) = delete;
    system_owned_security& operator=(const system_owned_security&) = delete;

    SECURITY_DESCRIPTOR* descriptor() { return &descriptor_; }
    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

private:
    static void check(BOOL ok, const char* call) {
        if (!ok)
            throw std::runtime_error(call);
    }

    PSID everyone_ = nullptr;
    PSID system_ = nullptr;
    std::vector<unsigned char> acl_storage_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};

}  // namespace testing_support
