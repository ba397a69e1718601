// An error object whose message is wide text; its narrow texts are made from the wide
// ones in the ANSI code page the first time they are asked for.
#pragma once

#include "support/exceptions/exception.hpp"

#include <string>

namespace replay {

class exception_w final : public exception {
public:
    // The wide message is `format` formatted printf-style with the arguments
    // (vformat_text_w); it is never truncated. The narrow message and kind stay empty
    // until the first call of what(), message() or kind().
    explicit exception_w(const wchar_t* format, ...);

    ~exception_w() override;

    // Narrow texts: the wide ones converted to the ANSI code page leniently, so a
    // character that the code page lacks becomes its default character. The conversion
    // runs once per object; a copy takes the converted texts along.
    const char* what() const noexcept override;
    const char* message() const override;
    const char* kind() const override;

    // Wide texts: the kind path (empty: nothing sets it), "[", the message and "]".
    // what_w() is rebuilt on every call and stays valid until the next call on the same
    // object; the others live as long as the object.
    virtual const wchar_t* what_w() const;
    virtual const wchar_t* message_w() const;
    virtual const wchar_t* kind_w() const;

private:
    // Fills the narrow message and kind from the wide ones, once.
    void narrow() const;

    mutable std::wstring m_what_w;
    std::wstring m_message_w;
    std::wstring m_kind_w;
    mutable bool m_narrowed = false;
};

}  // namespace replay
