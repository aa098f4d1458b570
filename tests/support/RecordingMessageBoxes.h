#pragma once

#include "core/MessageBoxes.h"

#include <QStringList>

// Records the text of every message and question instead of showing it, and returns at once: as if
// OK was pressed, and with the answers queued: "no" when none is, which lets work go as if unasked.
class RecordingMessageBoxes : public MessageBoxes
{
public:
    void Show(Icon, const QString& text) override { m_texts << text; }
    Answer Ask(const Question& question) override
    {
        m_questions << question.text;
        return m_answers.empty() ? Answer::No : m_answers.takeFirst();
    }

    void QueueAnswer(Answer answer) { m_answers << answer; }
    const QStringList& Questions() const { return m_questions; }
    // The messages shown, oldest first (two names for one list).
    const QStringList& Texts() const { return m_texts; }
    const QStringList& Messages() const { return m_texts; }
    void Clear()
    {
        m_texts.clear();
        m_questions.clear();
        m_answers.clear();
    }

private:
    QStringList m_texts;
    QStringList m_questions;
    QList<Answer> m_answers;
};
