// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file of any content. What was read must survive a write and a second read.
#include "data/collatrix.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

namespace
{

struct Settings {
    int language;
    int comSpeed;
    bool comPortFixed;
    int comPortNumber;
    QString dataPath;

    explicit Settings(const CCollatrix &c)
        : language(c.language), comSpeed(c.comSpeed), comPortFixed(c.comPortFixed),
          comPortNumber(c.comPortNumber), dataPath(c.dataPath)
    {
    }
    void applyTo(CCollatrix &c) const
    {
        c.language = language;
        c.comSpeed = comSpeed;
        c.comPortFixed = comPortFixed;
        c.comPortNumber = comPortNumber;
        c.dataPath = dataPath;
    }
    bool operator==(const Settings &o) const
    {
        return language == o.language && comSpeed == o.comSpeed && comPortFixed == o.comPortFixed &&
               (!comPortFixed || comPortNumber == o.comPortNumber) && dataPath == o.dataPath;
    }
};

// One controller for the whole run; the program folder is a scratch folder, and the settings
// file in it is written and read back for every input.
CCollatrix &makeController(const QString &folder)
{
    // The controller makes the program folder current; libFuzzer reads its inputs by relative
    // paths, so the folder it started in comes back.
    const QString start = QDir::currentPath();
    static CCollatrix c(folder + QLatin1Char('/'));
    QDir::setCurrent(start);
    return c;
}

CCollatrix &controller()
{
    static QTemporaryDir folder;
    static CCollatrix &c = makeController(folder.path());
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t length)
{
    CCollatrix &c = controller();
    static const Settings defaults(c);
    defaults.applyTo(c);
    QByteArray content(reinterpret_cast<const char *>(bytes),
                       int(std::min<std::size_t>(length, 1 << 20)));
    QBuffer in(&content);
    in.open(QIODevice::ReadOnly);
    c.readSettings(in);
    const Settings read(c);
    if (!c.writeSettings())
        std::abort();
    // A value that cannot be encoded comes back once as a replacement; from then on it is stable.
    defaults.applyTo(c);
    if (!c.readSettings())
        std::abort();
    const Settings once(c);
    c.writeSettings();
    defaults.applyTo(c);
    c.readSettings();
    if (!(Settings(c) == once) || read.language != once.language || read.comSpeed != once.comSpeed)
        std::abort();
    return 0;
}
