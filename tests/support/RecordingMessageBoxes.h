#pragma once

#include "core/MessageBoxes.h"

#include <QStringList>

#include <vector>

// Records every message and question instead of showing it, and returns at once: as if OK was
// pressed, and with the answers queued: "no" when none is, which lets work go as if unasked.
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
    Answer Ask(const Question& question) override
    {
        m_questions << question.text;
        return m_answers.empty() ? Answer::No : m_answers.takeFirst();
    }

    void QueueAnswer(Answer answer) { m_answers << answer; }
    const QStringList& Questions() const { return m_questions; }

    const std::vector<Shown>& Messages() const { return m_shown; }
    QStringList Texts() const
    {
        QStringList texts;
        for (const Shown& shown : m_shown)
            texts << shown.text;
        return texts;
    }
    void Clear()
    {
        m_shown.clear();
        m_questions.clear();
        m_answers.clear();
    }

private:
    std::vector<Shown> m_shown;
    QStringList m_questions;
    QList<Answer> m_answers;
};
