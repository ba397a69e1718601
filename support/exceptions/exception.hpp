// The root of the support library's error objects: a message and a dotted kind path
// naming the class below the root, joined by what() into one line.
#pragma once

#include <exception>
#include <string>

namespace replay {

class exception : public std::exception {
public:
    // Keeps `message` as it is: no formatting, so a '%' in it is plain text.
    explicit exception(std::string message);

    // The message is `format` formatted printf-style with the arguments (vformat_text);
    // it is never truncated. Note that a string literal alone picks this constructor.
    explicit exception(const char* format, ...);

    ~exception() override;

    // The kind path, "[", the message and "]" (a plain replay::exception has an empty
    // kind: "[abc]"). The text is rebuilt on every call and stays valid until the next
    // call on the same object or its destruction. Should the text not fit in memory, a
    // fixed text saying so is returned instead, since what() cannot throw.
    const char* what() const noexcept override;

    // The message and the kind path; valid as long as the object.
    virtual const char* message() const;
    virtual const char* kind() const;

protected:
    // Builds the composed text into m_what; may throw std::bad_alloc.
    const char* compose() const;

    // Adds `name` to the kind path, after a "." unless the path is still empty. Each
    // constructor of a family calls it once, base first, so the path reads from the
    // family root down to the class.
    void append_kind(const char* name);

    // Returned by what() when the composed text cannot be allocated.
    static const char* const unavailable_text;

    mutable std::string m_what;
    // Mutable so that replay::exception_w can fill them from its wide texts on first use.
    mutable std::string m_message;
    mutable std::string m_kind;
};

}  // namespace replay
