#include "render/TmxReader.h"

#include "core/mapfile/TmxImport.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <zlib.h>

#include <array>
#include <optional>

namespace xemap {

namespace {

using namespace tmx;
using namespace Qt::StringLiterals;

// A layer's tile numbers as 32-bit little-endian values: no layer of a map is larger.
constexpr std::size_t kLayerBytes = std::size_t{kCellCount} * 4;

class TmxParser {
public:
    TmxParser(std::string_view bytes, std::string file)
        : xml_(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()))), file_(std::move(file))
    {
    }

    Result<Map> map()
    {
        if (xml_.readNextStartElement() && xml_.name() == u"map")
            readMap();
        else if (!xml_.hasError())
            fail("this is no TMX map: it does not start with <map>");
        if (xml_.hasError() && !fault_)
            fail(xml_.errorString().toStdString());
        if (fault_)
            return *fault_;
        return std::move(map_);
    }

private:
    void fail(std::string reason)
    {
        if (!fault_)
            fault_ = Fault{Fault::Kind::Malformed, file_, static_cast<int>(xml_.lineNumber()), std::move(reason)};
        xml_.raiseError();
    }

    std::string text(QLatin1StringView name) const { return xml_.attributes().value(name).toString().toStdString(); }
    double number(QLatin1StringView name) const { return xml_.attributes().value(name).toDouble(); }
    int wholeNumber(QLatin1StringView name) const { return xml_.attributes().value(name).toInt(); }

    void readMap()
    {
        const int width = wholeNumber("width"_L1), height = wholeNumber("height"_L1);
        if (wholeNumber("infinite"_L1) != 0)
            return fail("the map is infinite, not 32 x 32 cells");
        if (width != kMapSize || height != kMapSize)
            return fail("the map is " + std::to_string(width) + " x " + std::to_string(height) + ", not 32 x 32 cells");
        map_.tileWidth = wholeNumber("tilewidth"_L1);
        map_.tileHeight = wholeNumber("tileheight"_L1);
        readLayers(true);
    }

    // The children of <map> or of a group layer.
    void readLayers(bool inMap)
    {
        while (xml_.readNextStartElement()) {
            const auto name = xml_.name();
            if (name == u"properties" && inMap)
                readProperties(map_.properties);
            else if (name == u"tileset" && inMap)
                readTileset();
            else if (name == u"layer")
                readTileLayer();
            else if (name == u"objectgroup")
                readObjects();
            else if (name == u"group")
                readLayers(false);
            else if (name == u"imagelayer")
                fail("the image layer '" + text("name"_L1) + "' has no place in a map");
            else
                xml_.skipCurrentElement();
        }
    }

    void readProperties(Properties& properties)
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() != u"property") {
                xml_.skipCurrentElement();
                continue;
            }
            std::string name = text("name"_L1);
            // A value with a line break is the element's text.
            const bool inAttribute = xml_.attributes().hasAttribute("value"_L1);
            std::string value = inAttribute ? text("value"_L1)
                                            : xml_.readElementText(QXmlStreamReader::SkipChildElements).toStdString();
            if (inAttribute)
                xml_.skipCurrentElement();
            properties[std::move(name)] = std::move(value);
        }
    }

    // The current element's properties; its other children are passed over.
    void readChildProperties(Properties& properties)
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"properties")
                readProperties(properties);
            else
                xml_.skipCurrentElement();
        }
    }

    void readTileset()
    {
        Tileset tileset;
        // A tileset kept in a file of its own is known by that file's name.
        tileset.name = xml_.attributes().hasAttribute("source"_L1) ? text("source"_L1) : text("name"_L1);
        tileset.firstGid = xml_.attributes().value("firstgid"_L1).toLongLong();
        readChildProperties(tileset.properties);
        map_.tilesets.push_back(std::move(tileset));
    }

    void readTileLayer()
    {
        TileLayer layer;
        layer.name = text("name"_L1);
        if (wholeNumber("width"_L1) != kMapSize || wholeNumber("height"_L1) != kMapSize)
            return fail("the tile layer '" + layer.name + "' is not 32 x 32 cells");
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"data")
                readData(layer);
            else
                xml_.skipCurrentElement();
        }
        if (!xml_.hasError() && layer.gids.size() != std::size_t{kCellCount})
            return fail("the tile layer '" + layer.name + "' does not have a tile number for each of its cells");
        map_.tileLayers.push_back(std::move(layer));
    }

    void readData(TileLayer& layer)
    {
        const std::string encoding = text("encoding"_L1), compression = text("compression"_L1);
        if (encoding.empty())
            return readTileElements(layer);
        const QString data = xml_.readElementText(QXmlStreamReader::SkipChildElements);
        if (encoding == "csv" && compression.empty())
            return readCsv(layer, data);
        if (encoding != "base64" || (compression != "" && compression != "zlib" && compression != "gzip"))
            return fail("the tile layer '" + layer.name + "' is stored as " + encoding
                        + (compression.empty() ? "" : " with " + compression)
                        + "; save it as CSV, or as base64 uncompressed, zlib or gzip");
        const QByteArray packed = QByteArray::fromBase64(data.trimmed().toLatin1());
        const auto bytes = compression.empty() ? std::optional<QByteArray>(packed) : inflated(packed);
        if (!bytes || std::size_t(bytes->size()) != kLayerBytes)
            return fail("the tile layer '" + layer.name + "' does not hold 32 x 32 tile numbers");
        for (std::size_t i = 0; i < kLayerBytes; i += 4) {
            const auto byte = [&](std::size_t k) {
                return std::uint32_t(static_cast<unsigned char>((*bytes)[qsizetype(i + k)]));
            };
            layer.gids.push_back(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
        }
    }

    void readCsv(TileLayer& layer, const QString& data)
    {
        for (const QStringView entry : QStringView(data).split(u',')) {
            bool ok = false;
            const std::uint32_t gid = entry.trimmed().toUInt(&ok);
            if (!ok || layer.gids.size() == std::size_t{kCellCount})
                return fail("the tile layer '" + layer.name + "' has '" + entry.trimmed().toString().toStdString()
                            + "' where a tile number should be");
            layer.gids.push_back(gid);
        }
    }

    void readTileElements(TileLayer& layer)
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"tile" && layer.gids.size() < std::size_t{kCellCount})
                layer.gids.push_back(xml_.attributes().value("gid"_L1).toUInt());
            else if (xml_.name() == u"tile" || xml_.name() == u"chunk")
                return fail("the tile layer '" + layer.name + "' does not hold 32 x 32 tile numbers");
            xml_.skipCurrentElement();
        }
    }

    // zlib or gzip data inflated, or nothing when it is broken or larger than a layer.
    static std::optional<QByteArray> inflated(const QByteArray& packed)
    {
        z_stream stream{};
        if (inflateInit2(&stream, 32 + MAX_WBITS) != Z_OK)  // 32: zlib or gzip, as the header says
            return std::nullopt;
        QByteArray out(qsizetype(kLayerBytes + 1), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
        stream.avail_in = static_cast<uInt>(packed.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        const int status = inflate(&stream, Z_FINISH);
        const auto produced = qsizetype(stream.total_out);
        inflateEnd(&stream);
        if (status != Z_STREAM_END)
            return std::nullopt;
        out.truncate(produced);
        return out;
    }

    void readObjects()
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() != u"object") {
                xml_.skipCurrentElement();
                continue;
            }
            Object object;
            object.id = xml_.attributes().value("id"_L1).toLongLong();
            object.name = text("name"_L1);
            object.type = xml_.attributes().hasAttribute("class"_L1) ? text("class"_L1) : text("type"_L1);
            object.x = number("x"_L1);
            object.y = number("y"_L1);
            object.width = number("width"_L1);
            object.height = number("height"_L1);
            readChildProperties(object.properties);
            map_.objects.push_back(std::move(object));
        }
    }

    QXmlStreamReader xml_;
    std::string file_;
    Map map_;
    std::optional<Fault> fault_;
};

}  // namespace

Result<tmx::Map> parseTmx(std::string_view bytes, const std::string& file) { return TmxParser(bytes, file).map(); }

Result<MapDocument> importTmxText(std::string_view bytes, const std::string& file)
{
    auto parsed = parseTmx(bytes, file);
    if (!parsed)
        return parsed.fault();
    return importTmx(*parsed, file);
}

}  // namespace xemap
