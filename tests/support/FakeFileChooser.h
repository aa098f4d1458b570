#pragma once

#include "macrofile/FileChooser.h"

#include <QStringList>

#include <vector>

// Answers the file dialog with scripted paths (an empty text cancels) and records every request.
class FakeFileChooser : public FileChooser
{
public:
    void QueueAnswer(const QString& path) { m_answers << path; }
    const std::vector<Request>& Requests() const { return m_requests; }

protected:
    QString Ask(const Request& request) override
    {
        m_requests.push_back(request);
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }

private:
    QStringList m_answers;
    std::vector<Request> m_requests;
};
