// Entries at the exception level for a _com_error, which is described before any other
// kind and is no std::exception.
#include "support/log/dispatcher.hpp"
#include "support/log/memory_listener.hpp"
#include "support/win/windows.hpp"

#include <comdef.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

namespace log = replay::log;
using entries = std::vector<log::memory_listener::entry>;

TEST(exception_level_com, describes_a_com_error_by_its_error_message) {
    const HRESULT code = E_POINTER;
    // The system's own text for the code, as a fresh _com_error gives it.
    const std::string expected_text = _com_error(code).ErrorMessage();
    ASSERT_FALSE(expected_text.empty());

    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(0, std::make_unique<log::memory_listener>());
    try {
        _com_issue_error(code);
    } catch (...) {
        dispatcher.log(5, L"call failed");
    }
    EXPECT_EQ(memory.entries(), (entries{{5, "call failed _com_error: " + expected_text}}));
}

}  // namespace
