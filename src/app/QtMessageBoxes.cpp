#include "app/QtMessageBoxes.h"

#include "app/QuitOnSignals.h"
#include "app/WindowPlacement.h"
#include "core/AppInfo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {
QMessageBox::Icon ToQt(MessageBoxes::Icon icon)
{
    switch (icon) {
    case MessageBoxes::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxes::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

constexpr QChar kZeroWidthSpace(0x200B);

// The box wraps its text only where a line may break, so a long path would make it wider than the
// screen and push its buttons off it: a break is allowed after each "/" and inside every run of
// more than a few dozen characters without a blank.
QString WithBreaks(const QString& text)
{
    constexpr int kLongestRun = 32;
    QString out;
    out.reserve(text.size() + text.size() / 8);
    int run = 0;
    for (const QChar c : text) {
        out += c;
        if (c.isSpace()) {
            run = 0;
        } else if (c == QLatin1Char('/') || ++run >= kLongestRun) {
            out += kZeroWidthSpace;
            run = 0;
        }
    }
    return out;
}
} // namespace

QString QtMessageBoxes::BoxText(const QString& text)
{
    // Wrapped, a line of thousands of characters (a long path) would make the box taller than the
    // screen: its middle gives way to an ellipsis, and the whole line goes to stderr where it matters.
    constexpr qsizetype kLongestLine = 600;
    constexpr qsizetype kKeptEnd = kLongestLine / 2 - 2;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.size() > kLongestLine)
            line = line.first(kKeptEnd) + QStringLiteral(" \u2026 ") + line.last(kKeptEnd);
    }
    return WithBreaks(lines.join(QLatin1Char('\n')));
}

void QtMessageBoxes::Show(Icon icon, const QString& text)
{
    // The program is ending: nothing may wait for an answer now.
    if (QuitOnSignals::Requested())
        return;
    WindowPlacement::WaitUntilPlaced(m_parent);
    QMessageBox box(ToQt(icon), AppInfo::ProductName(), BoxText(text), QMessageBox::Ok, m_parent);
    // A message may be copied (a path, an address); the breaks the box may wrap at stay out of the copy.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QClipboard* clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::dataChanged, &box, [clipboard] {
        if (QString copied = clipboard->text(); copied.contains(kZeroWidthSpace))
            clipboard->setText(copied.remove(kZeroWidthSpace));
    });
    box.exec();
}

MessageBoxes::Answer QtMessageBoxes::Ask(const Question& question)
{
    if (QuitOnSignals::Requested())
        return Answer::Cancel;
    WindowPlacement::WaitUntilPlaced(m_parent);
    QMessageBox box(QMessageBox::Question, AppInfo::ProductName(), BoxText(question.text), QMessageBox::NoButton,
                    m_parent);
    // The first letter answers from the keyboard, as Escape cancels.
    const auto withKey = [](const QString& text) {
        return QLatin1Char('&') + text;
    };
    QPushButton* yes = box.addButton(withKey(question.yes), QMessageBox::AcceptRole);
    // A question of two answers has no "no".
    QPushButton* no =
        question.no.isEmpty() ? nullptr : box.addButton(withKey(question.no), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(question.cancel, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (no != nullptr && box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}
