#include "app/HelpPage.h"

#include "core/MessageBoxes.h"
#include "core/TextTable.h"

namespace HelpPage {

void Open(const std::function<bool(const QUrl&)>& openUrl, MessageBoxes& messages)
{
    const QUrl page(TextTable::Text(TextId::HelpPageAddress));
    if (openUrl(page))
        return;
    // A path opens in a browser and in a file manager alike.
    const QString where = page.isLocalFile() ? page.toLocalFile() : page.toString();
    messages.Show(MessageBoxes::Icon::Information, TextTable::Text(TextId::HelpPageNotOpened).arg(where));
}

} // namespace HelpPage
