#pragma once

#include <functional>

class QObject;

// Ends the program on every signal whose default would end it from outside (SIGINT, SIGTERM,
// SIGHUP, SIGQUIT, SIGUSR1 ...): every window goes, every event loop ends and a main loop that has
// not started yet does not start. SIGPIPE is ignored: a write to a closed pipe fails instead. Nothing is saved and
// nothing is asked; the objects' own ends let go of any button a playback holds down and give the pointer its normal
// shape back.
namespace QuitOnSignals {

void Install(QObject* parent);

// True once a signal has asked the program to end: start-up must not go on to the main loop, and
// no further box may wait for an answer.
bool Requested();
// Told of the signal before anything ends (in the event loop, not in the handler): what runs
// then can still be asked where it stands.
void SetWitness(std::function<void(int signal)> witness);

} // namespace QuitOnSignals
