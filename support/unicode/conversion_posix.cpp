// Narrow/wide conversion for builds without the Windows code-page services. The ANSI,
// OEM and UTF-8 code pages all mean UTF-8 here (the narrow encoding of these systems);
// every other code page is unsupported. Wide text holds one code point per unit.
#include "support/unicode/conversion.hpp"

#include "support/exceptions/unicode_errors.hpp"

namespace replay::unicode {

static_assert(sizeof(wchar_t) == 4, "wide text is expected to hold whole code points");

namespace {

constexpr char32_t replacement_character = 0xFFFD;
// What a flag-capable code page puts in place of a character it cannot represent.
constexpr char default_character = '?';

bool supported(std::uint32_t code_page) {
    return code_page == ansi_code_page || code_page == oem_code_page || code_page == utf8_code_page;
}

bool is_high_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool is_scalar_value(char32_t c) { return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF); }

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the sequence that starts at text[i]; returns its length, or 0 when the bytes
// there do not start a well-formed sequence (bad lead, missing continuation, overlong
// form, surrogate, beyond U+10FFFF).
std::size_t decode_utf8(const std::string& text, std::size_t i, char32_t& c) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    // Sequence length, the bits the lead byte carries, and the smallest code point that
    // needs that length (anything smaller is an overlong form).
    std::size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    return c >= min && is_scalar_value(c) ? length : 0;
}

}  // namespace

std::string to_narrow(const std::wstring& text, std::uint32_t code_page, bool strict) {
    if (text.empty())
        return {};
    if (!supported(code_page))
        throw invalid_codepage(std::string());
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        // Text that came in as UTF-16 pairs is joined back into its code points.
        if (is_high_surrogate(c) && i + 1 < text.size() && is_low_surrogate(static_cast<char32_t>(text[i + 1]))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        if (is_scalar_value(c)) {
            append_utf8(out, c);
        } else if (!flags_allowed(code_page)) {
            append_utf8(out, replacement_character);
        } else if (strict) {
            throw unmappable_character(std::string());
        } else {
            out += default_character;
        }
    }
    return out;
}

std::wstring to_wide(const std::string& text, std::uint32_t code_page) {
    if (text.empty())
        return {};
    if (!supported(code_page))
        throw invalid_codepage(std::string());
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = decode_utf8(text, i, c);
        if (length == 0) {
            if (flags_allowed(code_page))
                throw unmappable_character(std::string());
            out += static_cast<wchar_t>(replacement_character);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += length;
    }
    return out;
}

}  // namespace replay::unicode
