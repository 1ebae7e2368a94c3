#pragma once

#include "core/descriptions/RecordFields.h"
#include "core/descriptions/Xetile.h"

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace xemap {

// One kind of record in a description, reached field by field: the record's name, then
// its stored fields in file order. The Describe Tile dialog edits every kind through it.
class RecordAccess {
public:
    virtual ~RecordAccess() = default;
    virtual int count(const XETile& tile) const = 0;
    // How the record at row is listed: its name (a creature without one by its type).
    virtual std::string entryText(const XETile& tile, int row) const = 0;
    virtual std::string& field(XETile& tile, int row, int index) const = 0;
    virtual StringList& text(XETile& tile, int row) const = 0;
    virtual bool* moveable(XETile& tile, int row) const = 0;  // items only
    virtual void append(XETile& tile, const std::vector<std::string>& fields, StringList text, bool moveable) const = 0;
    virtual void removeAt(XETile& tile, int row) const = 0;
    // Whether the record at row of tile is also one of other's records.
    virtual bool shares(const XETile& tile, int row, const XETile& other) const = 0;
};

template <class Kind>
class RecordsOf final : public RecordAccess {
    using Record = typename Kind::Record;

public:
    RecordsOf()
    {
        fields_.push_back(&Record::name);
        fields_.insert(fields_.end(), Kind::stored.begin(), Kind::stored.end());
    }

    int count(const XETile& tile) const override { return int((tile.*records_).size()); }
    std::string entryText(const XETile& tile, int row) const override
    {
        const Record& record = *(tile.*records_).at(row);
        if constexpr (std::is_same_v<Record, XECreature>) {
            if (record.name.empty())
                return record.type;
        }
        return record.name;
    }
    std::string& field(XETile& tile, int row, int index) const override
    {
        return (*(tile.*records_).at(row)).*fields_.at(index);
    }
    StringList& text(XETile& tile, int row) const override { return (tile.*records_).at(row)->text; }
    bool shares(const XETile& tile, int row, const XETile& other) const override
    {
        const RecordList<Record>& others = other.*records_;
        return std::find(others.begin(), others.end(), (tile.*records_).at(row)) != others.end();
    }
    bool* moveable(XETile& tile, int row) const override
    {
        if constexpr (std::is_same_v<Record, XEItem>)
            return &(tile.*records_).at(row)->moveable;
        else
            return nullptr;
    }
    void append(XETile& tile, const std::vector<std::string>& fields, StringList text, bool moveable) const override
    {
        auto record = std::make_shared<Record>();
        for (std::size_t i = 0; i < fields_.size(); ++i)
            (*record).*fields_[i] = fields.at(i);
        record->text = std::move(text);
        if constexpr (std::is_same_v<Record, XEItem>)
            record->moveable = moveable;
        (tile.*records_).push_back(std::move(record));
    }
    void removeAt(XETile& tile, int row) const override
    {
        auto& list = tile.*records_;
        list.erase(list.begin() + row);
    }

private:
    static constexpr auto records_ = Kind::records;
    std::vector<std::string Record::*> fields_;
};

}  // namespace xemap
