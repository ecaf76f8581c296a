#include "log/partialmatcher.h"

#include "common/bands.h"

#include <algorithm>
#include <tuple>

namespace velk {

void LogCalls::addCall(std::string_view call, int band)
{
    if (!CallIndex::isCallText(call)) {
        return;
    }
    const auto [id, isNew] = m_index.insert(call);
    if (isNew) {
        m_bands.push_back(0);
    }
    if (band > 0) {
        m_bands[id] |= static_cast<std::uint8_t>(1u << (band - 1));
    }
}

void LogCalls::rebuild(const ContactLog& log)
{
    m_index = CallIndex();
    m_bands.clear();
    const auto& keys = log.recordKeys();
    m_index.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const RecordKey& key = keys[i];
        if (key.plain) {
            addCall(std::string_view(key.text.data(), key.length), key.band);
        } else {
            const ContactRecord& record = log.records()[i];
            addCall(CallIndex::normalized(record.call.toLatin1().toStdString()), bandIndex(record.band));
        }
    }
}

void LogCalls::add(const ContactRecord& record)
{
    addCall(CallIndex::normalized(record.call.toLatin1().toStdString()), bandIndex(record.band));
}

std::uint8_t LogCalls::bandsOf(std::string_view call) const
{
    const auto id = m_index.find(call);
    return id ? m_bands[*id] : 0;
}

namespace {

struct Candidate
{
    std::string_view call;
    bool inner = false; // the text is inside the call, not at its start
};

// The typed text as calls are kept: upper case call characters; empty when it cannot match.
std::string typedText(QStringView typed)
{
    if (typed.size() < PartialMatcher::minTypedLength || typed.size() > CallIndex::maxCallLength) {
        return {};
    }
    std::string text = typed.toLatin1().toUpper().toStdString();
    return std::all_of(text.begin(), text.end(), CallIndex::isCallCharacter) ? text : std::string();
}

// Every call holding the text holds each of its pairs, so the shortest list of one pair is
// enough to look through.
void collectContaining(const CallIndex& index, const std::string& text, std::vector<Candidate>& out)
{
    const std::vector<std::uint32_t>* fewest = nullptr;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto& ids = index.holding(text[i], text[i + 1]);
        if (!fewest || ids.size() < fewest->size()) {
            fewest = &ids;
        }
    }
    for (const std::uint32_t id : *fewest) {
        const std::string_view call = index.call(id);
        const auto at = call.find(text);
        if (at != std::string_view::npos) {
            out.push_back({call, at != 0});
        }
    }
}

// One substitution, insertion or deletion turns one into the other.
bool oneEditApart(std::string_view a, std::string_view b)
{
    if (a.size() > b.size()) {
        std::swap(a, b);
    }
    if (b.size() - a.size() > 1) {
        return false;
    }
    std::size_t i = 0;
    while (i < a.size() && a[i] == b[i]) {
        ++i;
    }
    if (a.size() == b.size()) {
        return i < a.size() && a.substr(i + 1) == b.substr(i + 1);
    }
    return a.substr(i) == b.substr(i + 1);
}

void collectNear(const CallIndex& index, const std::string& text, std::vector<Candidate>& out)
{
    const auto consider = [&](std::uint32_t id) {
        const std::string_view call = index.call(id);
        if (call.size() + 1 >= text.size() && call.size() <= text.size() + 1 && oneEditApart(call, text)) {
            out.push_back({call, false});
        }
    };
    // One edit spoils at most two adjacent pairs, so from four characters on every near call
    // still shares a pair with the text; shorter texts are compared with every call.
    if (text.size() < 4) {
        for (std::uint32_t id = 0; id < index.size(); ++id) {
            consider(id);
        }
        return;
    }
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        for (const std::uint32_t id : index.holding(text[i], text[i + 1])) {
            consider(id);
        }
    }
}

// The first `limit` distinct candidates in order. A containing call comes at most once from each
// source; a near call may come through several of its pairs, so all of those are sorted.
void keepFirst(std::vector<Candidate>& candidates, std::size_t limit, bool near)
{
    const auto before = [](const Candidate& a, const Candidate& b) {
        return std::tie(a.inner, a.call) < std::tie(b.inner, b.call);
    };
    const auto same = [](const Candidate& a, const Candidate& b) { return a.call == b.call; };
    const std::size_t sorted = near ? candidates.size() : std::min(candidates.size(), limit * 2);
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(sorted),
                      candidates.end(), before);
    candidates.resize(sorted);
    candidates.erase(std::unique(candidates.begin(), candidates.end(), same), candidates.end());
    if (candidates.size() > limit) {
        candidates.resize(limit);
    }
}

} // namespace

MatchList PartialMatcher::match(QStringView typed, QStringView band, int limit) const
{
    MatchList result;
    const std::string text = typedText(typed);
    if (text.empty() || limit <= 0) {
        return result;
    }
    std::vector<const CallIndex*> sources{&m_log.index()};
    if (m_database) {
        sources.push_back(m_database.get());
    }
    std::vector<Candidate> candidates;
    for (const CallIndex* source : sources) {
        collectContaining(*source, text, candidates);
    }
    if (candidates.empty()) {
        for (const CallIndex* source : sources) {
            collectNear(*source, text, candidates);
        }
        result.nearMatches = !candidates.empty();
    }
    keepFirst(candidates, static_cast<std::size_t>(limit), result.nearMatches);

    const int current = bandIndex(band.toString());
    const std::uint8_t currentBit = current > 0 ? static_cast<std::uint8_t>(1u << (current - 1)) : 0;
    result.calls.reserve(candidates.size());
    for (const Candidate& candidate : candidates) {
        const std::uint8_t worked = m_log.bandsOf(candidate.call);
        const MatchStatus status = (worked & currentBit) ? MatchStatus::Dupe
                                   : worked != 0         ? MatchStatus::WorkedOtherBand
                                                         : MatchStatus::New;
        result.calls.push_back(
            {QString::fromLatin1(candidate.call.data(), static_cast<qsizetype>(candidate.call.size())),
             status});
    }
    return result;
}

} // namespace velk
