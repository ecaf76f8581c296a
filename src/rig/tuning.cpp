#include "rig/tuning.h"

namespace velk {

const QList<BandButton>& bandButtons()
{
    static const QList<BandButton> buttons{
        {"160", 1.9},    {"80", 3.75},   {"60", 5.3585}, {"40", 7.15},   {"30", 10.13}, {"20", 14.175},
        {"17", 18.118},  {"15", 21.225}, {"12", 24.94},  {"10", 28.5},   {"6", 52.0},   {"2", 146.0},
        {"1.25", 223.5}, {"70", 435.0},  {"33", 915.0},  {"23", 1270.0},
    };
    return buttons;
}

std::optional<double> bandEntryFrequency(const QString& band, const QString&)
{
    return bandButtonFrequency(band);
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
