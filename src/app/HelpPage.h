#pragma once

#include <QUrl>

#include <functional>

class MessageBoxes;

// The program's help page, opened in the user's web browser; where no browser opens it, a message
// says where it is, in words that can be copied into one.
namespace HelpPage {

void Open(const std::function<bool(const QUrl&)>& openUrl, MessageBoxes& messages);

} // namespace HelpPage
