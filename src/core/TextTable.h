#pragma once

#include <QString>

// Every English text the user sees, by number. Ids are grouped by hundreds: 100s main window,
// tasks and messages; 200s About box and splash; 300s Options dialog; 400s pause dialog; 500s
// what runs (caption and tray indicator); 600s the keyboard and the wheel.
namespace TextTable {

// The text of an id, blanks included; an empty text for an id that has none (120, 122, 128).
QString Text(int id);

} // namespace TextTable
