#pragma once

#include <QString>

#include <optional>
#include <vector>

// A typing task's keys as a person edits them: the text they type, with each key that types no
// character of its own written by its key symbol name in braces ("Dear Sir,{Return}{Tab}Thank you"),
// and a brace that is typed written twice ("{{"). A key that types a character another key types
// too (the keypad's 1) keeps its name, so that the keys come back as they were.
namespace TypedText {

QString FromKeys(const std::vector<quint32>& keys);

// The keys of a text, or none: a name in braces that is no key, a brace left open, or no key at all.
std::optional<std::vector<quint32>> ToKeys(const QString& text);

} // namespace TypedText
