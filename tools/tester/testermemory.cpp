#include "testermemory.h"

#include "testerrandom.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kHeaderSize = CZRData::kHeaderSize;
constexpr int kRecordsPerBlock = 32;
constexpr int kZR2604BlockSize = 257;
constexpr int kM47BlockSize = 256;
constexpr int kExtendedRecordSize = 32;
constexpr int kMaxZR2604Blocks = 127;
constexpr int kHostBlock = 256;

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

QByteArray m47Record(int group, int cell, const GroupProfile &p, CTesterRandom &rng, int size)
{
    QByteArray r(size, '\0');
    putLE16(r, 0, group);
    putLE16(r, 2, cell);
    putLE16(r, 4, lengthRaw(p, thicknessMm(p, rng)));
    r[6] = char(p.fine ? 1 : 0);
    r[7] = char(p.inches ? 1 : 0);
    return r;
}

// A stored reading of the older gauge: a velocity in m/s or a transit time in tenths of us.
QByteArray zr2604Record(int group, int cell, const GroupProfile &p, CTesterRandom &rng)
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
    return r;
}

// Records in group order, each group's cells in order.
template <typename MakeRecord>
QByteArray recordStream(int groups, int cells, std::uint64_t seed, MakeRecord makeRecord)
{
    QByteArray out;
    int index = 0;
    for (int g = 1; g <= groups; ++g) {
        const GroupProfile profile = groupProfile(seed, g);
        for (int c = 1; c <= cells; ++c) {
            CTesterRandom rng(seed, g, c, 2);
            out += makeRecord(g, c, profile, rng, index++);
        }
    }
    return out;
}

int blocksFor(int records)
{
    return (records + kRecordsPerBlock - 1) / kRecordsPerBlock;
}

QByteArray generateZR2604(int groups, int cells, std::uint64_t seed)
{
    const QByteArray records = recordStream(
        groups, cells, seed, [](int g, int c, const GroupProfile &p, CTesterRandom &rng, int) {
            return zr2604Record(g, c, p, rng);
        });
    const int blocks = blocksFor(groups * cells);
    QByteArray out("ORBEX\x02\x06\x00\x04\x01", 10);
    out.append(char(blocks));
    for (int b = 0; b < blocks; ++b) {
        QByteArray block = records.mid(b * kM47BlockSize, kM47BlockSize);
        block.append(QByteArray(kM47BlockSize - block.size(), '\0'));
        int sum = 0;
        for (char ch : block)
            sum += quint8(ch);
        // The closing byte is not read by the host; the gauge puts a checksum there.
        block.append(char(sum & 0xFF));
        out += block;
    }
    return out;
}

QByteArray generateM47(int groups, int cells, std::uint64_t seed)
{
    const int blocks = blocksFor(groups * cells);
    QByteArray out = m47Header(blocks);
    out += recordStream(groups, cells, seed,
                        [](int g, int c, const GroupProfile &p, CTesterRandom &rng, int) {
                            return m47Record(g, c, p, rng, 8);
                        });
    out.append(QByteArray(kHeaderSize + blocks * kM47BlockSize - out.size(), '\0'));
    return out;
}

// Bytes the host does not read still carry what a gauge would keep there: the velocity, the
// gain and the probe.
QByteArray extendedRecord(int g, int c, const GroupProfile &p, CTesterRandom &rng, int index)
{
    QByteArray r = m47Record(g, c, p, rng, kExtendedRecordSize);
    putLE16(r, 8, p.velocity);
    r[10] = char(rng.between(20, 60));
    r[11] = char(1 + g % 4);
    // Most readings were saved with their A-scan; a few were not.
    const bool withAScan = index % 9 != 4 && !rng.chance(0.08);
    r[15] = char(withAScan ? 1 : 0);
    return r;
}

QByteArray generateExtended(int groups, int cells, std::uint64_t seed)
{
    QByteArray records = recordStream(groups, cells, seed, extendedRecord);
    // Empty records pad a small memory to one whole 256-byte unit, so the announced count is
    // never 0 (a count of 0 would end the host's reception with the first chunk).
    while (kHeaderSize + records.size() < kHostBlock)
        records.append(QByteArray(kExtendedRecordSize, '\0'));
    const int size = kHeaderSize + int(records.size());
    return m47Header(size / kHostBlock) + records;
}

} // namespace

CTesterMemory::CTesterMemory(const QByteArray &bytes, int layout) : dump(bytes), dumpLayout(layout)
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(dump.constData());
    const int size = int(dump.size());
    if (layout == 1)
        decoded.decodeZR2604Dump(data, size);
    else if (layout == 3)
        decoded.decodeM47ExtendedDump(data, size);
    else
        decoded.decodeM47Dump(data, size);
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
    if (groups > CZRData::kMaxGroups || cells > 0xFFFF)
        return QStringLiteral("at most 256 groups and 65535 cells a group");
    const qint64 records = qint64(groups) * cells;
    const qint64 recordBytes =
        layout == 2 ? (records + kRecordsPerBlock - 1) / kRecordsPerBlock * kM47BlockSize
                    : records * kExtendedRecordSize;
    if (kHeaderSize + recordBytes > kMaxDumpSize)
        return QStringLiteral("the memory would exceed %1 bytes").arg(kMaxDumpSize);
    return QString();
}

CTesterMemory CTesterMemory::generate(int layout, int groups, int cells, std::uint64_t seed)
{
    if (layout == 1)
        return CTesterMemory(generateZR2604(groups, cells, seed), 1);
    if (layout == 3)
        return CTesterMemory(generateExtended(groups, cells, seed), 3);
    return CTesterMemory(generateM47(groups, cells, seed), 2);
}

CTesterMemory CTesterMemory::fromDump(const QByteArray &bytes, int layoutHint)
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    if (CZRData::isZR2604Header(data, int(bytes.size())))
        return CTesterMemory(bytes, 1);
    return CTesterMemory(bytes, layoutHint == 3 ? 3 : 2);
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

bool CTesterMemory::findRecord(int groupByte, int cellByte, MeasurementRecord *out) const
{
    MeasurementRecord r;
    for (int row = 0; decoded.recordAt(row, &r); ++row) {
        if (((r.group - 1) & 0xFF) == groupByte && ((r.cell - 1) & 0xFF) == cellByte) {
            if (out != nullptr)
                *out = r;
            return true;
        }
    }
    return false;
}
