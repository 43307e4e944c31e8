// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A pseudo-terminal whose slave side is linked as ports/COMn, where the program looks for
// serial ports. The tester keeps a slave descriptor of its own open, so the program's
// open/close cycles never hang the terminal up.
class CPtyLink
{
public:
    enum OpenResult { Opened, LinkInUse, Failed };

    CPtyLink() = default;
    CPtyLink(const CPtyLink &) = delete;
    CPtyLink &operator=(const CPtyLink &) = delete;
    ~CPtyLink();

    // Opens the terminal and links it as dir/COM<port>. A dangling link of that name is
    // replaced; a live one is left alone (LinkInUse). error says why it did not open.
    OpenResult open(const QString &portsDir, int port, QString *error);
    // Removes the link (only if it is still ours) and closes the terminal.
    void close();

    int master() const { return masterFd; }
    bool isOpen() const { return masterFd >= 0; }
    QString linkPath() const { return link; }
    QString slavePath() const { return slave; }
    // Bytes written to the host that it has not read yet.
    int unreadByHost() const;
    // Drops what the host has not read.
    void discardUnread();

private:
    bool createLink(QString *error);

    int masterFd = -1;
    int slaveFd = -1;
    QString link;
    QString slave;
};
