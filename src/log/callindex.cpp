#include "log/callindex.h"

#include <algorithm>

namespace velk {

namespace {

const std::vector<std::uint32_t> noCalls;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::size_t hashOf(std::string_view call)
{
    // FNV-1a: calls are short, and this spreads them well enough for a half-full table.
    std::size_t hash = 14695981039346656037ull;
    for (const char c : call) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

} // namespace

bool CallIndex::isCallText(std::string_view text)
{
    if (text.size() < minCallLength || text.size() > maxCallLength) {
        return false;
    }
    for (const char c : text) {
        if (symbol(c) < 0) {
            return false;
        }
    }
    return true;
}

std::string CallIndex::normalized(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.size() > maxCallLength) {
        return {};
    }
    std::string call(text);
    for (char& c : call) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return isCallText(call) ? call : std::string();
}

std::pair<std::uint32_t, bool> CallIndex::insert(std::string_view call)
{
    if (m_slots.empty() || (m_starts.size() + 1) * 2 > m_slots.size()) {
        grow();
    }
    const std::size_t slot = slotOf(call);
    if (m_slots[slot] != 0) {
        return {m_slots[slot] - 1, false};
    }
    const auto id = static_cast<std::uint32_t>(m_starts.size());
    m_starts.push_back(static_cast<std::uint32_t>(m_text.size()));
    m_lengths.push_back(static_cast<std::uint8_t>(call.size()));
    m_text.append(call);
    m_slots[slot] = id + 1;
    // A pair that occurs twice in a call lists the call once.
    for (std::size_t i = 0; i + 1 < call.size(); ++i) {
        auto& ids = m_pairs[static_cast<std::size_t>(symbol(call[i]) * symbolCount + symbol(call[i + 1]))];
        if (ids.empty() || ids.back() != id) {
            ids.push_back(id);
        }
    }
    return {id, true};
}

std::optional<std::uint32_t> CallIndex::find(std::string_view call) const
{
    if (m_slots.empty()) {
        return std::nullopt;
    }
    const std::uint32_t entry = m_slots[slotOf(call)];
    return entry == 0 ? std::nullopt : std::optional<std::uint32_t>(entry - 1);
}

const std::vector<std::uint32_t>& CallIndex::holding(char first, char second) const
{
    const int a = symbol(first);
    const int b = symbol(second);
    if (a < 0 || b < 0) {
        return noCalls;
    }
    return m_pairs[static_cast<std::size_t>(a * symbolCount + b)];
}

void CallIndex::reserve(std::size_t calls)
{
    m_text.reserve(calls * 6);
    m_starts.reserve(calls);
    m_lengths.reserve(calls);
    std::size_t slots = m_slots.empty() ? 1024 : m_slots.size();
    while (slots < calls * 2) {
        slots *= 2;
    }
    if (slots > m_slots.size()) {
        m_slots.resize(slots);
        rehash();
    }
}

void CallIndex::squeeze()
{
    m_text.shrink_to_fit();
    m_starts.shrink_to_fit();
    m_lengths.shrink_to_fit();
    for (auto& ids : m_pairs) {
        ids.shrink_to_fit();
    }
}

std::size_t CallIndex::memoryBytes() const
{
    std::size_t bytes = m_text.capacity() + m_starts.capacity() * sizeof(std::uint32_t) +
                        m_lengths.capacity() + m_slots.capacity() * sizeof(std::uint32_t);
    for (const auto& ids : m_pairs) {
        bytes += sizeof(ids) + ids.capacity() * sizeof(std::uint32_t);
    }
    return bytes;
}

std::size_t CallIndex::slotOf(std::string_view call) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hashOf(call) & mask;
    while (m_slots[slot] != 0 && this->call(m_slots[slot] - 1) != call) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

void CallIndex::grow()
{
    m_slots.resize(m_slots.empty() ? 1024 : m_slots.size() * 2);
    rehash();
}

void CallIndex::rehash()
{
    std::fill(m_slots.begin(), m_slots.end(), 0);
    const std::size_t mask = m_slots.size() - 1;
    for (std::uint32_t id = 0; id < m_starts.size(); ++id) {
        std::size_t slot = hashOf(call(id)) & mask;
        while (m_slots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        m_slots[slot] = id + 1;
    }
}

} // namespace velk
