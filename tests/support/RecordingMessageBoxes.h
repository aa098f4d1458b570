#pragma once

#include "core/MessageBoxes.h"

#include <QStringList>

#include <vector>

// Records every message instead of showing it, and returns at once as if OK was pressed.
class RecordingMessageBoxes : public MessageBoxes
{
public:
    struct Shown
    {
        Icon icon;
        QString text;

        bool operator==(const Shown& other) const = default;
    };

    void Show(Icon icon, const QString& text) override { m_shown.push_back({icon, text}); }

    const std::vector<Shown>& Messages() const { return m_shown; }
    QStringList Texts() const
    {
        QStringList texts;
        for (const Shown& shown : m_shown)
            texts << shown.text;
        return texts;
    }
    void Clear() { m_shown.clear(); }

private:
    std::vector<Shown> m_shown;
};
