#pragma once

class QObject;

// Ends the program the ordinary way on SIGINT, SIGTERM and SIGHUP, as Exit does: windows close, a
// button a playback holds down is let go, and the pointer gets its normal shape back.
namespace QuitOnSignals {

void Install(QObject* parent);

} // namespace QuitOnSignals
