#pragma once

#include <QKeyCombination>

#include <optional>
#include <vector>

// A key task's keys as Qt's key editor (QKeySequenceEdit) takes and shows them: the modifiers as
// Control_L, Shift_L, Alt_L and Super_L in that order, then the key by the symbol it gives without
// a modifier ("t" for Ctrl+Shift+T, "adiaeresis" for Ctrl+Ä), as a recording would hold them.
namespace KeyCombination {

// The keysyms of a combination; none for a key without a symbol here, or a modifier alone.
std::optional<std::vector<quint32>> ToKeys(QKeyCombination combination);
// The combination of a key task's keys; none when a key has no Qt key, or a modifier comes last.
std::optional<QKeyCombination> FromKeys(const std::vector<quint32>& keys);

} // namespace KeyCombination
