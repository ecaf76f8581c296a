#include "rig/tuning.h"

namespace velk {

const QList<BandButton>& bandButtons()
{
    static const QList<BandButton> buttons{
        {"160", 1.9},    {"80", 3.75},   {"60", 5.357}, {"40", 7.15},   {"30", 10.13}, {"20", 14.175},
        {"17", 18.118},  {"15", 21.225}, {"12", 24.94}, {"10", 28.5},   {"6", 52.0},   {"2", 146.0},
        {"1.25", 223.5}, {"70", 435.0},  {"33", 915.0}, {"23", 1270.0},
    };
    return buttons;
}

std::optional<double> bandButtonFrequency(const QString& band)
{
    for (const BandButton& button : bandButtons()) {
        if (button.caption == band) {
            return button.mhz;
        }
    }
    return std::nullopt;
}

namespace {

struct SegmentFrequencies
{
    const char* band;
    double cw;
    double rtty;
};

// Inside the lower (CW and data) end of each band, clear of the band edge and of the beacons.
// On 60 m every mode uses the channel: CW and RTTY sit on its centre.
constexpr SegmentFrequencies segmentFrequencies[] = {
    {"160", 1.83, 1.805},   {"80", 3.53, 3.58},   {"60", 5.3585, 5.3585}, {"40", 7.03, 7.08},
    {"30", 10.11, 10.14},   {"20", 14.03, 14.08}, {"17", 18.08, 18.1},    {"15", 21.03, 21.08},
    {"12", 24.9, 24.92},    {"10", 28.03, 28.08}, {"6", 50.09, 50.3},     {"2", 144.05, 144.1},
    {"1.25", 222.1, 222.1}, {"70", 432.1, 432.1}, {"33", 902.1, 902.1},   {"23", 1296.1, 1296.1},
};

} // namespace

std::optional<double> bandEntryFrequency(const QString& band, const QString& logMode)
{
    const bool cw = logMode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0;
    const bool rtty = logMode.compare(QLatin1String("RY"), Qt::CaseInsensitive) == 0;
    if (cw || rtty) {
        for (const SegmentFrequencies& row : segmentFrequencies) {
            if (band.compare(QLatin1String(row.band), Qt::CaseInsensitive) == 0) {
                return cw ? row.cw : row.rtty;
            }
        }
        return std::nullopt;
    }
    return bandButtonFrequency(band);
}

QString bandEntryMode(const QString& logMode)
{
    if (logMode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("CW");
    }
    if (logMode.compare(QLatin1String("RY"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("RTTY");
    }
    return {};
}

const QList<TuneStep>& tuneSteps()
{
    static const QList<TuneStep> steps{
        {"10 Hz", 0.00001}, {"1 MHz", 1.0}, {"5 KHz", 0.005}, {"1 KHz", 0.001}, {"100 Hz", 0.0001},
    };
    return steps;
}

const QList<TuneStep>& scanSteps()
{
    static const QList<TuneStep> steps{
        {"500 Hz", 0.0005}, {"100 Hz", 0.0001}, {"30 Hz", 0.00003}, {"10 Hz", 0.00001}, {"2.5 KHz", 0.0025},
    };
    return steps;
}

float nextScanFrequency(float current, float step, float from, float to)
{
    const float next = current + step;
    return next > to ? from : next;
}

QString formatSteppedFrequency(double mhz)
{
    QString text = QString::number(mhz, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        text = QString::number(mhz, 'f', 6);
    }
    return text;
}

} // namespace velk
