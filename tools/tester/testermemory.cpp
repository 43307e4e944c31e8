// SPDX-License-Identifier: GPL-3.0-or-later
#include "testermemory.h"

#include "testerrandom.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

constexpr int kHeaderSize = 11;
constexpr int kRecordsPerBlock = 32;
constexpr int kRecordSize = 8;
constexpr int kZR2604BlockSize = 257;
constexpr int kM47BlockSize = 256;
constexpr int kExtendedRecordSize = 32;
constexpr int kTakenOffset = 16;
constexpr int kMaxZR2604Blocks = 127;
constexpr int kMaxGroups = 256;
constexpr int kHostBlock = 256;
const QByteArray kZR2604Magic("ORBEX\x02\x06\x00\x04\x01", 10);

// Generated dump bytes with the index of the readings they hold.
struct Generated {
    QByteArray bytes;
    std::vector<TesterRecord> index;
};

// One generated record: its bytes and what the index keeps of it.
struct MadeRecord {
    QByteArray bytes;
    TesterRecord indexed;
};

// What a group of readings was taken on: one part, one unit, one resolution.
struct GroupProfile {
    bool inches = false;
    bool fine = false;
    double nominalMm = 10.0;
    int velocity = 5920;
    int zr2604Kind = 0; // 0 velocity, 1 time with the tenths flag, 2 time with a zero kind byte
};

struct Material {
    int velocity;
    double weight;
};

// Longitudinal sound velocities in m/s: steel, aluminium, stainless, titanium, copper, brass,
// acrylic. Steel is what most gauges measure.
const Material kMaterials[] = {{5920, 0.45}, {6320, 0.2},  {5740, 0.1}, {6070, 0.05},
                               {4660, 0.07}, {4430, 0.05}, {2730, 0.08}};

int pickVelocity(CTesterRandom &rng)
{
    double x = rng.uniform(0.0, 1.0);
    for (const Material &m : kMaterials) {
        if (x < m.weight)
            return m.velocity;
        x -= m.weight;
    }
    return kMaterials[0].velocity;
}

GroupProfile groupProfile(std::uint64_t seed, int group)
{
    CTesterRandom rng(seed, group, 0, 1);
    GroupProfile p;
    p.inches = rng.chance(0.25);
    p.fine = rng.chance(0.5);
    p.nominalMm = rng.uniform(2.5, 58.0);
    p.velocity = pickVelocity(rng);
    p.zr2604Kind = rng.between(0, 2);
    return p;
}

// A reading scatters around the nominal wall, mostly thinner (corrosion), within 2..60 mm.
double thicknessMm(const GroupProfile &p, CTesterRandom &rng)
{
    return std::clamp(p.nominalMm * rng.uniform(0.93, 1.015), 2.0, 60.0);
}

int positive(double value)
{
    return std::max(1, int(std::lround(value)));
}

// Layouts 2 and 3: the value with the divisor that the fine and inch flags give.
int lengthRaw(const GroupProfile &p, double mm)
{
    if (p.inches)
        return positive(mm / 25.4 * (p.fine ? 1000.0 : 100.0));
    return positive(mm * (p.fine ? 100.0 : 10.0));
}

void putLE16(QByteArray &b, int offset, int value)
{
    b[offset] = char(value & 0xFF);
    b[offset + 1] = char((value >> 8) & 0xFF);
}

QByteArray m47Header(int blockCount)
{
    QByteArray h("ORBEXM47T");
    h.append(char((blockCount >> 8) & 0xFF));
    h.append(char(blockCount & 0xFF));
    return h;
}

// The 8 bytes a layout-2 record and a layout-3 record begin with.
QByteArray recordBytes(const TesterRecord &t, int size)
{
    QByteArray r(size, '\0');
    putLE16(r, 0, t.group);
    putLE16(r, 2, t.cell);
    putLE16(r, 4, t.value);
    r[6] = char(t.fine ? 1 : 0);
    r[7] = char(t.inches ? 1 : 0);
    return r;
}

TesterRecord thicknessReading(int group, int cell, const GroupProfile &p, CTesterRandom &rng)
{
    return TesterRecord{group, cell, lengthRaw(p, thicknessMm(p, rng)), p.fine, p.inches, false};
}

MadeRecord m47Record(int group, int cell, const GroupProfile &p, CTesterRandom &rng)
{
    const TesterRecord t = thicknessReading(group, cell, p, rng);
    return {recordBytes(t, kRecordSize), t};
}

// A stored reading of the older gauge: a velocity in m/s or a transit time in tenths of us.
MadeRecord zr2604Record(int group, int cell, const GroupProfile &p, CTesterRandom &rng)
{
    int value = 0;
    bool tenths = false;
    if (p.zr2604Kind == 0) {
        value = positive(p.velocity * rng.uniform(0.993, 1.007));
    } else {
        value = std::min(0x7FFF, positive(2.0 * thicknessMm(p, rng) * 1000.0 / p.velocity * 10.0));
        tenths = p.zr2604Kind == 1;
    }
    QByteArray r(8, '\0');
    r[0] = char(group);
    r[1] = char(cell);
    r[2] = char(value & 0xFF);
    r[3] = char(((value >> 8) & 0x7F) | (tenths ? 0x80 : 0));
    r[5] = char(p.zr2604Kind == 2 ? 0 : 1);
    return {r, TesterRecord{group, cell}};
}

// Records in group order, each group's cells in order.
template <typename MakeRecord>
Generated recordStream(int groups, int cells, std::uint64_t seed, MakeRecord makeRecord)
{
    Generated out;
    int index = 0;
    for (int g = 1; g <= groups; ++g) {
        const GroupProfile profile = groupProfile(seed, g);
        for (int c = 1; c <= cells; ++c) {
            CTesterRandom rng(seed, g, c, 2);
            const MadeRecord made = makeRecord(g, c, profile, rng, index++);
            out.bytes += made.bytes;
            out.index.push_back(made.indexed);
        }
    }
    return out;
}

int blocksFor(int records)
{
    return (records + kRecordsPerBlock - 1) / kRecordsPerBlock;
}

Generated generateZR2604(int groups, int cells, std::uint64_t seed)
{
    Generated memory = recordStream(groups, cells, seed,
                                    [](int g, int c, const GroupProfile &p, CTesterRandom &rng,
                                       int) { return zr2604Record(g, c, p, rng); });
    const QByteArray records = memory.bytes;
    const int blocks = blocksFor(groups * cells);
    memory.bytes = kZR2604Magic;
    memory.bytes.append(char(blocks));
    for (int b = 0; b < blocks; ++b) {
        QByteArray block = records.mid(b * kM47BlockSize, kM47BlockSize);
        block.append(QByteArray(kM47BlockSize - block.size(), '\0'));
        int sum = 0;
        for (char ch : block)
            sum += quint8(ch);
        // The closing byte is not read by the host; the gauge puts a checksum there.
        block.append(char(sum & 0xFF));
        memory.bytes += block;
    }
    return memory;
}

// The count is of the 256-byte blocks of records; empty slots fill up the last one.
Generated finishM47(Generated memory)
{
    const int blocks = blocksFor(int(memory.index.size()));
    memory.bytes.append(QByteArray(blocks * kM47BlockSize - memory.bytes.size(), '\0'));
    memory.bytes.prepend(m47Header(blocks));
    return memory;
}

Generated generateM47(int groups, int cells, std::uint64_t seed)
{
    Generated memory = recordStream(groups, cells, seed,
                                    [](int g, int c, const GroupProfile &p, CTesterRandom &rng,
                                       int) { return m47Record(g, c, p, rng); });
    return finishM47(std::move(memory));
}

// The time a gauge saved a reading with: the year after 2000, month, day, hour, minute, second.
void putTaken(QByteArray &r, const QDateTime &taken)
{
    if (!taken.isValid())
        return;
    const QDate d = taken.date();
    const QTime t = taken.time();
    const int fields[] = {d.year() - 2000, d.month(), d.day(), t.hour(), t.minute(), t.second()};
    for (int i = 0; i < 6; ++i)
        r[kTakenOffset + i] = char(fields[i]);
}

// Bytes the host does not read still carry what a gauge would keep there: the velocity, the
// gain, the probe and the time the reading was saved.
QByteArray extendedBytes(const TesterRecord &t, int velocity, int gain, const QDateTime &taken)
{
    QByteArray r = recordBytes(t, kExtendedRecordSize);
    putLE16(r, 8, velocity);
    r[10] = char(gain);
    r[11] = char(1 + t.group % 4);
    r[15] = char(t.hasAScan ? 1 : 0);
    putTaken(r, taken);
    return r;
}

MadeRecord extendedRecord(int g, int c, const GroupProfile &p, CTesterRandom &rng, int index,
                          const QDateTime &taken)
{
    TesterRecord t = thicknessReading(g, c, p, rng);
    const int gain = rng.between(20, 60);
    // Most readings were saved with their A-scan; a few were not.
    t.hasAScan = index % 9 != 4 && !rng.chance(0.08);
    return {extendedBytes(t, p.velocity, gain, taken), t};
}

// The count is of the whole 256-byte units of the records alone, without the header, so the
// bytes past the last whole unit come after the host's progress has reached 100 %. Empty
// records pad a small memory to one unit: a count of 0 would end the host's reception with its
// first chunk.
Generated finishExtended(Generated memory)
{
    while (memory.bytes.size() < kHostBlock)
        memory.bytes.append(QByteArray(kExtendedRecordSize, '\0'));
    memory.bytes.prepend(m47Header(int(memory.bytes.size()) / kHostBlock));
    return memory;
}

Generated generateExtended(int groups, int cells, std::uint64_t seed, const QDateTime &taken)
{
    return finishExtended(
        recordStream(groups, cells, seed,
                     [&taken](int g, int c, const GroupProfile &p, CTesterRandom &rng, int index) {
                         return extendedRecord(g, c, p, rng, index, taken);
                     }));
}

// Steel, as a plant's thickness survey mostly is.
constexpr int kSteelVelocity = 5920;

Generated plannedRecords(int layout, const std::vector<TesterRecord> &readings, std::uint64_t seed,
                         const QDateTime &taken)
{
    Generated memory;
    for (TesterRecord t : readings) {
        CTesterRandom rng(seed, t.group, t.cell, 2);
        t.hasAScan = layout == 3;
        memory.bytes += layout == 3 ? extendedBytes(t, kSteelVelocity, rng.between(20, 60), taken)
                                    : recordBytes(t, kRecordSize);
        memory.index.push_back(t);
    }
    return layout == 3 ? finishExtended(std::move(memory)) : finishM47(std::move(memory));
}

// "group;cell;thickness", the thickness in mm with a point, kept in hundredths.
bool readReading(const QByteArray &line, TesterRecord *r)
{
    const QList<QByteArray> fields = line.split(';');
    bool ok[3] = {false, false, false};
    if (fields.size() != 3)
        return false;
    r->group = fields[0].trimmed().toInt(&ok[0]);
    r->cell = fields[1].trimmed().toInt(&ok[1]);
    const double mm = fields[2].trimmed().toDouble(&ok[2]);
    r->value = int(std::lround(mm * 100.0));
    r->fine = true;
    return ok[0] && ok[1] && ok[2] && r->group >= 1 && r->group <= kMaxGroups && r->cell >= 1 &&
           r->cell <= 0xFFFF && r->value >= 1 && r->value <= 0xFFFF;
}

int le16(const char *p)
{
    return quint8(p[0]) | quint8(p[1]) << 8;
}

TesterRecord readRecord(const char *p, int layout)
{
    TesterRecord r;
    if (layout == 1) {
        r.group = quint8(p[0]);
        r.cell = quint8(p[1]);
        return r;
    }
    r.group = le16(p);
    r.cell = le16(p + 2);
    r.value = le16(p + 4);
    r.fine = p[6] != 0;
    r.inches = p[7] != 0;
    r.hasAScan = layout == 3 && p[15] != 0;
    return r;
}

// The records of a dump file in blocks of 32 after the header; a layout-1 block ends in a
// checksum byte. Empty slots have group 0.
std::vector<TesterRecord> readRecords(const QByteArray &dump, int layout)
{
    const int recordSize = layout == 3 ? kExtendedRecordSize : kRecordSize;
    const int blockSize = layout == 1 ? kZR2604BlockSize : kRecordsPerBlock * recordSize;
    std::vector<TesterRecord> out;
    for (int i = 0;; ++i) {
        const qint64 at = kHeaderSize + qint64(i / kRecordsPerBlock) * blockSize +
                          i % kRecordsPerBlock * recordSize;
        if (at + recordSize > dump.size())
            return out;
        const TesterRecord r = readRecord(dump.constData() + at, layout);
        if (r.group != 0)
            out.push_back(r);
    }
}

} // namespace

CTesterMemory::CTesterMemory(const QByteArray &bytes, int layout, std::vector<TesterRecord> records)
    : dump(bytes), dumpLayout(layout), index(std::move(records))
{
}

QString CTesterMemory::checkGeneration(int layout, int groups, int cells)
{
    if (layout < 1 || layout > 3)
        return QStringLiteral("the layout must be 1, 2 or 3");
    if (groups < 1 || cells < 1)
        return QStringLiteral("groups and cells must be at least 1");
    if (layout == 1) {
        if (groups > 255 || cells > 255)
            return QStringLiteral("layout 1 stores groups and cells in one byte (at most 255)");
        if (groups * cells > kMaxZR2604Blocks * kRecordsPerBlock)
            return QStringLiteral("layout 1 holds at most 127 blocks of 32 records (4064)");
        return QString();
    }
    if (groups > kMaxGroups || cells > 0xFFFF)
        return QStringLiteral("at most 256 groups and 65535 cells a group");
    const qint64 records = qint64(groups) * cells;
    const qint64 recordBytes =
        layout == 2 ? (records + kRecordsPerBlock - 1) / kRecordsPerBlock * kM47BlockSize
                    : records * kExtendedRecordSize;
    if (kHeaderSize + recordBytes > kMaxDumpSize)
        return QStringLiteral("the memory would exceed %1 bytes").arg(kMaxDumpSize);
    return QString();
}

CTesterMemory CTesterMemory::generate(int layout, int groups, int cells, std::uint64_t seed,
                                      const QDateTime &taken)
{
    const Generated g = layout == 1   ? generateZR2604(groups, cells, seed)
                        : layout == 3 ? generateExtended(groups, cells, seed, taken)
                                      : generateM47(groups, cells, seed);
    return CTesterMemory(g.bytes, layout, g.index);
}

bool CTesterMemory::readReadings(const QByteArray &text, int layout, std::vector<TesterRecord> *out,
                                 QString *error)
{
    if (layout != 2 && layout != 3) {
        *error = QStringLiteral("readings are thicknesses: layout 2 or 3");
        return false;
    }
    out->clear();
    const QList<QByteArray> lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QByteArray line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        TesterRecord r;
        if (!readReading(line, &r)) {
            *error = QStringLiteral("line %1 is not group;cell;thickness in mm (1-256, 1-65535, "
                                    "0.01-655.35): %2")
                         .arg(n + 1)
                         .arg(QString::fromUtf8(line));
            return false;
        }
        out->push_back(r);
    }
    const qint64 recordBytes = qint64(out->size()) * (layout == 3 ? kExtendedRecordSize : 8);
    if (out->empty() || kHeaderSize + recordBytes + kM47BlockSize > kMaxDumpSize) {
        *error = QStringLiteral("%1 readings do not make a memory").arg(out->size());
        return false;
    }
    return true;
}

CTesterMemory CTesterMemory::planned(int layout, const std::vector<TesterRecord> &readings,
                                     std::uint64_t seed, const QDateTime &taken)
{
    const Generated g = plannedRecords(layout, readings, seed, taken);
    return CTesterMemory(g.bytes, layout, g.index);
}

CTesterMemory CTesterMemory::fromDump(const QByteArray &bytes, int layoutHint)
{
    const int layout = bytes.startsWith(kZR2604Magic) ? 1 : layoutHint == 3 ? 3 : 2;
    return CTesterMemory(bytes, layout, readRecords(bytes, layout));
}

int CTesterMemory::announcedBlocks() const
{
    if (dump.size() < kHeaderSize)
        return 0;
    const auto *h = reinterpret_cast<const std::uint8_t *>(dump.constData());
    if (dumpLayout == 1)
        return std::max(0, int(std::int8_t(h[10])));
    return h[9] * 256 + h[10];
}

int CTesterMemory::receptionBoundary() const
{
    const int count = announcedBlocks();
    if (dumpLayout == 1)
        return kHostBlock * ((kHeaderSize + kZR2604BlockSize * count) / kHostBlock);
    return kHostBlock * count;
}

bool CTesterMemory::findRecord(int groupByte, int cellByte, TesterRecord *out) const
{
    const auto found = std::find_if(index.begin(), index.end(), [&](const TesterRecord &r) {
        return ((r.group - 1) & 0xFF) == groupByte && ((r.cell - 1) & 0xFF) == cellByte;
    });
    if (found == index.end())
        return false;
    if (out != nullptr)
        *out = *found;
    return true;
}
