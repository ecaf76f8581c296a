#pragma once
// CallIndex: a set of call signs packed into one buffer, with the calls holding each pair of
// adjacent characters, so the calls containing a typed fragment are found without reading every
// call. Holds the Super Check Partial database and the calls of the log; plain data, no Qt.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velk {

class CallIndex
{
public:
    // Calls longer than this are refused: no real call comes near it, and a bound keeps every
    // search of one call short.
    static constexpr int maxCallLength = 16;
    static constexpr int minCallLength = 3;

    // "A"-"Z", "0"-"9" and "/": the characters of a call as the index keeps it.
    static bool isCallCharacter(char c) { return symbol(c) >= 0; }
    // Call characters only, minCallLength to maxCallLength characters.
    static bool isCallText(std::string_view text);
    // The call as the index keeps it: upper case Latin-1 without surrounding blanks; empty when
    // it is not call text.
    static std::string normalized(std::string_view text);

    // Adds a call (call text, already normalized) unless it is there; returns its id and
    // whether it was new.
    std::pair<std::uint32_t, bool> insert(std::string_view call);
    std::optional<std::uint32_t> find(std::string_view call) const;

    std::size_t size() const { return m_starts.size(); }
    bool isEmpty() const { return m_starts.empty(); }
    std::string_view call(std::uint32_t id) const
    {
        return std::string_view(m_text).substr(m_starts[id], m_lengths[id]);
    }
    // Ids of the calls in which `first` is directly followed by `second`, in insertion order;
    // empty for characters that are not call text.
    const std::vector<std::uint32_t>& holding(char first, char second) const;
    // Room for about this many calls, so a large file is read without growing again and again.
    void reserve(std::size_t calls);
    // Gives back what the growing left spare, once no more calls come.
    void squeeze();
    // Bytes held, for the load report and the benchmark.
    std::size_t memoryBytes() const;

private:
    static constexpr int symbolCount = 37; // A-Z, 0-9, "/"
    static int symbol(char c)
    {
        if (c >= 'A' && c <= 'Z') {
            return c - 'A';
        }
        if (c >= '0' && c <= '9') {
            return 26 + (c - '0');
        }
        return c == '/' ? 36 : -1;
    }
    std::string m_text;
    std::vector<std::uint32_t> m_starts;
    std::vector<std::uint8_t> m_lengths;
    std::vector<std::vector<std::uint32_t>> m_pairs =
        std::vector<std::vector<std::uint32_t>>(static_cast<std::size_t>(symbolCount * symbolCount));
    // Open addressing over ids + 1 (0 is an empty slot); kept at most half full.
    std::vector<std::uint32_t> m_slots;

    std::size_t slotOf(std::string_view call) const;
    void grow();
    void rehash();
};

} // namespace velk
