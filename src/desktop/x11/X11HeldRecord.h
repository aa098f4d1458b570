#pragma once

#include "desktop/HeldInputs.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct _XDisplay;

// A small file in the user's runtime directory ($XDG_RUNTIME_DIR/clickwarden/held-<pid>) that lists
// what the program holds on the server, written before each press goes out. The guardian undoes
// it when the program dies alone; when both were killed together (pkill -9 clickwarden matches
// both names), the next start finds the record of a process that is gone and undoes it then.
// Without a runtime directory the records go to /tmp/clickwarden-<uid>, made by the user, 0700.
class X11HeldRecord
{
public:
    // The folder of the records; empty where none of the user's own can be had.
    static QString Folder();

    // Undoes and deletes the records of the display left by processes that are gone.
    static void Sweep(_XDisplay* display, const QByteArray& displayName);

    explicit X11HeldRecord(const QByteArray& displayName);
    // Deletes the record: whoever ends the program cleanly has undone what it held.
    ~X11HeldRecord();
    X11HeldRecord(const X11HeldRecord&) = delete;
    X11HeldRecord& operator=(const X11HeldRecord&) = delete;

    // Writes the whole list anew (the first write creates the file, readable by its owner only).
    void Write(const std::vector<HeldInputs::Input>& held);

private:
    QByteArray m_displayName;
    QString m_path;
    int m_file = -1;
};
