// Helpers for the program's UTF-8 text: walking and cutting it by characters,
// and the ASCII case rules and trimming the class library applies to text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zb {

// The character that stands for a byte sequence that is not UTF-8.
inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the character at `pos`; returns the number of bytes it takes
// (0 only at the end of the text). A byte that does not start a well-formed
// sequence (stray continuation, overlong form, surrogate, beyond U+10FFFF,
// cut short) takes one byte and decodes as kReplacementChar.
size_t DecodeUtf8Char(std::string_view text, size_t pos, char32_t& ch);

// Like DecodeUtf8Char, but tells apart a well-formed sequence (true).
bool IsWellFormedUtf8At(std::string_view text, size_t pos, size_t& length);

bool IsValidUtf8(std::string_view text);

// Appends the UTF-8 form of `ch`; values that are no character append U+FFFD.
void AppendUtf8(std::string& out, char32_t ch);

// Walks a text character by character; every malformed byte is one character.
class Utf8Iterator {
public:
    explicit Utf8Iterator(std::string_view text, size_t pos = 0) : text_(text), pos_(pos) {}
    bool AtEnd() const { return pos_ >= text_.size(); }
    // Moves past the current character; returns false at the end.
    bool Next(char32_t& ch);
    size_t Position() const { return pos_; }
    // The bytes of the character at the current position (empty at the end).
    std::string_view Current() const;

private:
    std::string_view text_;
    size_t pos_;
};

// Number of characters; every malformed byte counts as one.
size_t Utf8Length(std::string_view text);

// Byte offset of character `index` (0-based); the text's size when beyond it.
size_t Utf8Offset(std::string_view text, size_t index);

// `count` characters from character `start` (0-based), clipped to the text.
std::string Utf8Copy(std::string_view text, size_t start, size_t count = std::string_view::npos);

// Letter case of the ASCII letters only; every other byte stays as it is,
// so Chinese text passes unchanged.
char UpCase(char c);
char LoCase(char c);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// ASCII letters compared without regard to case; other bytes by value.
// CompareText gives <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view text);
bool EndsText(std::string_view suffix, std::string_view text);

// Removes blanks and control characters (every byte up to the space).
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

}  // namespace zb
