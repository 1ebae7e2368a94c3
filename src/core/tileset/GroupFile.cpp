#include "core/tileset/GroupFile.h"

#include "core/files/ReadFile.h"
#include "core/text/TextLines.h"

#include <algorithm>
#include <charconv>

namespace xemap {

namespace {

// Fields end at the next colon; without one a field is empty and the text goes on
// whole to the next field, so that the last field (an icon path) may hold colons.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : rest_(text) {}

    std::string_view next()
    {
        const auto colon = rest_.find(':');
        if (colon == std::string_view::npos)
            return {};
        const auto field = rest_.substr(0, colon);
        rest_.remove_prefix(colon + 1);
        return trim(field);
    }
    std::string_view last() const { return trim(rest_); }

private:
    std::string_view rest_;
};

// Blank-separated signed decimals; reading stops at the first text that is not one,
// so the entries after it keep their values.
class NumberReader {
public:
    explicit NumberReader(std::string_view text) : rest_(text) {}

    bool next(std::int32_t& target)
    {
        while (!rest_.empty() && isBlank(rest_.front()))
            rest_.remove_prefix(1);
        std::string_view digits = rest_;
        if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-')
            digits.remove_prefix(1);
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc{}) {
            rest_ = {};
            return false;
        }
        target = value;
        rest_.remove_prefix(static_cast<std::size_t>(end - rest_.data()));
        return true;
    }

private:
    std::string_view rest_;
};

void readPieces(std::string_view field, GroupPieces& pieces)
{
    NumberReader numbers(field);
    for (GroupPiece& piece : pieces)
        if (!numbers.next(piece.tile) || !numbers.next(piece.rotation))
            return;
}

void readConversions(std::string_view field, ConversionTable& table)
{
    NumberReader numbers(field);
    for (Conversion& entry : table)
        if (!numbers.next(entry.match) || !numbers.next(entry.tile) || !numbers.next(entry.rotationAddend))
            return;
}

// The kind letter is the line's first byte as read: a line that starts with a blank
// is not a group.
void readGroupLine(std::string_view line, LayerGroups& groups)
{
    if (line.empty() || groups.slotCount >= kGroupSlots)
        return;
    const char kind = line.front();
    if (kind != 'B' && kind != 'S')
        return;
    std::string_view text = trim(line);
    if (const auto colon = text.find(':'); colon != std::string_view::npos)
        text.remove_prefix(colon + 1);

    FieldReader fields(text);
    GroupSlot& slot = groups.slots[groups.slotCount++];
    if (kind == 'B') {
        readPieces(fields.next(), groups.boxes[groups.boxCount].pieces);
        slot.kind = ++groups.boxCount;
    } else {
        ConnectorGroup& connector = groups.connectors[groups.connectorCount];
        readPieces(fields.next(), connector.pieces);
        readConversions(fields.next(), connector.first);
        readConversions(fields.next(), connector.second);
        slot.kind = -(++groups.connectorCount);
    }
    slot.name = fields.next();
    slot.iconFile = fields.last();
}

// The tables stay: a later file's missing numbers keep their entries.
void forgetSlots(LayerGroups& groups)
{
    groups.slots = {};
    groups.slotCount = groups.boxCount = groups.connectorCount = 0;
}

}  // namespace

const BoxGroup* LayerGroups::boxGroupForMode(int editMode) const
{
    const int slot = editMode - 2;
    if (slot < 0 || slot >= slotCount || slots[slot].kind <= 0)
        return nullptr;
    return &boxes[slots[slot].kind - 1];
}

const ConnectorGroup* LayerGroups::connectorGroupForMode(int editMode) const
{
    const int slot = editMode - 2;
    if (slot < 0 || slot >= slotCount || slots[slot].kind >= 0)
        return nullptr;
    return &connectors[-slots[slot].kind - 1];
}

std::array<std::string, kGroupSlots> LayerGroups::groupNames() const
{
    std::array<std::string, kGroupSlots> names;
    for (int slot = 0; slot < kGroupSlots; ++slot)
        names[slot] = slot < slotCount ? slots[slot].name : kUnusedGroupName;
    return names;
}

std::optional<GroupChoice> LayerGroups::groupOfTile(int tile) const
{
    auto choiceOf = [this](std::int32_t kind) -> GroupChoice {
        const auto slot = std::find_if(slots.begin(), slots.begin() + slotCount,
                                       [kind](const GroupSlot& s) { return s.kind == kind; });
        return {static_cast<std::int32_t>(slot - slots.begin()) + 2, kind < 0};
    };
    for (int group = 0; group < std::max(boxCount, connectorCount); ++group) {
        for (int piece = 0; piece < kGroupPieces; ++piece) {
            if (group < boxCount && boxes[group].pieces[piece].tile == tile)
                return choiceOf(group + 1);
            if (group < connectorCount && connectors[group].pieces[piece].tile == tile)
                return choiceOf(-(group + 1));
        }
    }
    return std::nullopt;
}

void readGroups(std::string_view text, LayerGroups& groups)
{
    forgetSlots(groups);
    LineSource lines(text);
    for (std::string_view line; lines.next(line);)
        readGroupLine(line, groups);
}

Result<void> readGroupFile(const std::filesystem::path& file, LayerGroups& groups, std::uintmax_t limit)
{
    const auto read = readFile(file, limit);
    readGroups(read.ok() ? std::string_view(*read) : std::string_view(), groups);
    if (!read)
        return read.fault();
    return {};
}

}  // namespace xemap
