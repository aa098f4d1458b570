#pragma once

#include <QString>

// Task kinds are task texts of the text table; these name the ids and answer the questions the
// task list, the recorder and the player ask about a kind.
namespace TaskKinds {

inline constexpr int kClickLeft = 114;       // 114, 115, 116: click of button index 0, 1, 2
inline constexpr int kDoubleClickLeft = 117; // 117, 118, 119: double click of button index 0, 1, 2
inline constexpr int kPause = 141;
inline constexpr int kPushedLeft = 142; // 142 + 2n pushed, 143 + 2n released, for button index n

// The button index (0 left, 1 right, 2 middle) of a single-click text, or -1 for any other text.
// The comparison is exact, blanks and case included.
int ClickButtonIndex(const QString& taskText);

} // namespace TaskKinds
