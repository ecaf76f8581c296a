#pragma once
// The tuning window's fixed values: band buttons and their frequencies, tuning steps and scan
// steps; and the scan's next frequency.
#include <QList>
#include <QString>
#include <optional>

namespace velk {

struct BandButton
{
    QString caption;
    double mhz;
};
struct TuneStep
{
    QString caption;
    double mhz;
};

// "160" 1.9 ... "23" 1270; 60 m tunes 5.357 MHz, the USB dial of the 5.3585 MHz channel.
const QList<BandButton>& bandButtons();
// The frequency a band button tunes; none for an unknown band.
std::optional<double> bandButtonFrequency(const QString& band);
// Where a band chosen in the logger tunes the radio for the log's mode ("CW", "PH", "RY"): a CW
// log to the band's CW segment, an RTTY log to its RTTY segment, a phone log to the band
// button's phone frequency; none for an unknown band.
std::optional<double> bandEntryFrequency(const QString& band, const QString& logMode);
// The radio mode a band entry sets for the log's mode: "CW", "RTTY", or empty for phone (the
// band plan's sideband).
QString bandEntryMode(const QString& logMode);
// "10 Hz", "1 MHz", "5 KHz", "1 KHz", "100 Hz" in the window's order.
const QList<TuneStep>& tuneSteps();
// "500 Hz", "100 Hz", "30 Hz", "10 Hz", "2.5 KHz".
const QList<TuneStep>& scanSteps();
// The scan's next frequency: one step up, back to `from` past `to`.
float nextScanFrequency(float current, float step, float from, float to);
// A stepped frequency as the window writes it: 15 significant digits, trailing zeros dropped.
QString formatSteppedFrequency(double mhz);

} // namespace velk
