#include "app/RunReporter.h"

#include "app/ExitStatus.h"
#include "app/Notifier.h"
#include "app/Run.h"
#include "app/StderrMessageBoxes.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "tasks/SharedState.h"

RunReporter::RunReporter(Run* run, MessageBoxes& messages, Notifier* notifier, std::function<QString()> fileName,
                         const SharedState& state, bool unattended, QObject* parent)
    : QObject(parent), m_messages(messages), m_notifier(notifier), m_fileName(std::move(fileName)), m_state(state),
      m_unattended(unattended)
{
    if (!run)
        return;
    connect(run, &Run::finished, this,
            [this](const QString& message) { m_messages.Show(MessageBoxes::Icon::Information, message); });
    connect(run, &Run::stopped, this, &RunReporter::PlaybackStopped);
    // Closing after playback shows no box: every window closes and the program ends, as on Exit.
    connect(run, &Run::closeRequested, this, [this](const QString& failure) {
        EndRun(failure.isEmpty() ? ExitStatus::kPlayed : ExitStatus::kSkipped, failure);
    });
    connect(run, &Run::unplayableTask, this, [this](int row, const QString& problem) {
        if (ClosesAfterPlaying())
            StderrMessageBoxes::Print(TextTable::Text(TextId::SkippedTaskLine).arg(row).arg(problem));
    });
    connect(run, &Run::remark, this, [this](const QString& text) {
        StderrMessageBoxes::Print(text);
        emit noteRaised(text);
    });
    connect(run, &Run::taskSkipped, this,
            [this](const ScreenMismatch& mismatch) { ReportScreenMismatch(mismatch, true); });
    connect(run, &Run::stoppedOnMismatch, this,
            [this](const ScreenMismatch& mismatch) { ReportScreenMismatch(mismatch, false); });
    connect(run, &Run::taskFound, this,
            [](int row, QPoint offset) { StderrMessageBoxes::Print(ScreenCheck::FoundLine(row, offset)); });
}

bool RunReporter::ClosesAfterPlaying() const
{
    return m_state.options.closeAfterPlaying || m_unattended;
}

void RunReporter::RecordingEnded(int eventCount)
{
    m_messages.Show(MessageBoxes::Icon::Information, TextTable::Text(TextId::EventsCaptured) + QLatin1Char(' ') +
                                                         QString::number(eventCount) + QLatin1Char(' ') +
                                                         TextTable::Text(TextId::SentenceEnd));
}

void RunReporter::CommandLineFileFailed(const QString& text, const QString& line)
{
    // A script hears of it on stderr; no one may be there to close a box, so none is shown then.
    StderrMessageBoxes::Print(line);
    if (m_unattended) {
        m_exitStatus = ExitStatus::kFileProblem;
        QMetaObject::invokeMethod(this, &RunReporter::exitRequested, Qt::QueuedConnection);
        return;
    }
    m_messages.Show(MessageBoxes::Icon::Exclamation, text);
}

void RunReporter::ReportScreenMismatch(const ScreenMismatch& mismatch, bool skipped)
{
    StderrMessageBoxes::Print(ScreenCheck::ReportLine(mismatch, skipped));
    if (skipped)
        return;
    // A run that closes the program has no one to read a box: it ends, and says so in its status.
    if (ClosesAfterPlaying()) {
        EndRun(ExitStatus::kStopped, ScreenCheck::StopMessage(mismatch));
        return;
    }
    m_messages.Show(MessageBoxes::Icon::Exclamation, ScreenCheck::StopMessage(mismatch));
    // The grid shows the task, and the preview what was recorded and what the screen showed.
    emit mismatchShown(mismatch.row);
}

void RunReporter::PlaybackStopped(const QString& message)
{
    // Someone at the desktop stopped it: a box they can read, or stderr where no box may be shown.
    m_messages.Show(MessageBoxes::Icon::Information, message);
    if (m_unattended)
        EndRun(ExitStatus::kStopped, message);
}

void RunReporter::EndRun(int status, const QString& failure)
{
    m_exitStatus = status;
    if (!failure.isEmpty() && m_notifier) {
        // It may come long after the run began, beside other runs': it says which file failed.
        const QString file = m_fileName ? m_fileName() : QString();
        m_notifier->Notify(file.isEmpty() ? failure : TextTable::Text(TextId::NotifiedFile).arg(file, failure));
        m_notifier->Flush();
    }
    emit exitRequested();
}
