#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// What the player tells at the end of a run, in the program's own texts.
namespace PlaybackMessages {

// "All task have been executed.", or which rows could not be played, with what the screen check
// skipped and found elsewhere.
QString Finished(const std::vector<int>& unplayableRows, qint64 skipped, qint64 foundElsewhere);
// The message that reports a playback the stop keys ended.
QString Stopped(qint64 executedTasks);
// Why a row was skipped when a key of it could not be typed: the character, or the key's name.
QString Untypable(quint32 keysym);

} // namespace PlaybackMessages
