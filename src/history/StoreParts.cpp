#include "history/StoreParts.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <new>
#include <type_traits>

#include "history/ShapedText.h"
#include "history/StoreBytes.h"

namespace kestrava::history {
namespace {

// How a line ends, and whether it reads as path|size|date.
enum LineKind : unsigned char {
    FileLineCrLf = 0,
    OtherLineCrLf = 1,
    FileLineLf = 2,
    OtherLineLf = 3,
    FileLineUnended = 4,
    OtherLineUnended = 5,
};
constexpr unsigned char EndingBits = 6;
// The size or date text is that of the line told against.
constexpr unsigned char SameSize = 8;
constexpr unsigned char SameDate = 16;

constexpr std::size_t SizeNumberColumns = DateNumbers - SizeNumbers;
constexpr std::size_t DateNumberColumns = PartColumnCount - DateNumbers;

// Whether the layout keeps the column: the first kept no shape numbers, and its other
// columns in the same order.
bool Kept(PartLayout layout, int column) {
    return layout == PartLayout::ShapeLists ||
           (column != SizeShapeNumbers && column != DateShapeNumbers);
}

std::string_view EndingOf(unsigned char kind) {
    switch (kind & EndingBits) {
        case FileLineCrLf:
            return "\r\n";
        case FileLineLf:
            return "\n";
        default:
            return "";
    }
}

std::size_t SharedPrefix(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                                    a.begin());
}

// The version a part's version is told against: the nearest before it among `earlier`
// (the first block's versions; in the first layout, every block's before the part's) and
// the part's own versions before it (the last of which is `previousInPart`).
// NoRank when there is none.
std::uint64_t ToldAgainst(const RankSet& earlier, std::uint64_t rank,
                          std::uint64_t previousInPart) {
    const std::uint64_t before = earlier.before(rank, previousInPart);
    return before != NoRank ? before : previousInPart;
}

// A part's distinct shapes, each listed once in the order first met, and a number per
// text naming its shape.
class ShapeList {
public:
    void put(const std::string& shape, std::string& list, std::string& named) {
        const auto [known, added] = numbers_.try_emplace(shape, numbers_.size());
        if (added) {
            list += shape;
        }
        PutNumber(named, known->second);
    }

private:
    std::map<std::string, std::size_t> numbers_;
};

// Where a text ended by a line feed begins and ends in a column of them; nothing once
// the column has no more.
std::optional<std::string_view> NextText(std::string_view column, std::size_t& at) {
    if (at >= column.size()) {
        return std::nullopt;
    }
    const std::size_t end = std::min(column.find('\n', at), column.size());
    const std::string_view text = column.substr(at, end - at);
    at = end + 1;
    return text;
}

}  // namespace

SplitLine Split(std::string_view line) {
    unsigned char ending = FileLineUnended;
    if (line.ends_with("\r\n")) {
        ending = FileLineCrLf;
        line.remove_suffix(2);
    } else if (line.ends_with('\n')) {
        ending = FileLineLf;
        line.remove_suffix(1);
    }
    const std::size_t last = line.rfind('|');
    const std::size_t before = last == 0 || last == std::string_view::npos
                                   ? std::string_view::npos
                                   : line.rfind('|', last - 1);
    if (before == std::string_view::npos) {
        return {static_cast<unsigned char>(ending | OtherLine), line, {}, {}};
    }
    return {ending, line.substr(0, before), line.substr(before + 1, last - before - 1),
            line.substr(last + 1)};
}

std::string EncodePart(const StoreContent& content, std::span<const std::size_t> members,
                       std::uint32_t firstEntry, const RankSet& earlier) {
    std::array<std::string, PartColumnCount> columns;
    const auto sizeNumbers = std::span(columns).subspan(SizeNumbers, SizeNumberColumns);
    const auto dateNumbers = std::span(columns).subspan(DateNumbers, DateNumberColumns);
    ShapeList sizeShapes;
    ShapeList dateShapes;
    std::string shape;
    std::uint64_t previousInPart = NoRank;
    for (const std::size_t rank : members) {
        const std::uint64_t before = ToldAgainst(earlier, rank, previousInPart);
        const SplitLine previous = before != NoRank ? Split(content.text(content.versions[before]))
                                                    : SplitLine{OtherLine, {}, {}, {}};
        const LineVersion& version = content.versions[rank];
        PutNumber(columns[Ranks], rank - (previousInPart == NoRank ? 0 : previousInPart));
        previousInPart = rank;
        PutNumber(columns[Firsts], version.first - firstEntry);
        PutNumber(columns[Spans], version.last - version.first);
        const SplitLine line = Split(content.text(version));
        const bool files = (line.kind & OtherLine) == 0 && (previous.kind & OtherLine) == 0;
        const bool sameSize = files && line.size == previous.size;
        const bool sameDate = files && line.date == previous.date;
        columns[Kinds] +=
            static_cast<char>(line.kind | (sameSize ? SameSize : 0) | (sameDate ? SameDate : 0));
        const std::size_t shared = SharedPrefix(line.path, previous.path);
        PutNumber(columns[Shared], shared);
        (columns[Suffixes] += line.path.substr(shared)) += '\n';
        const bool fileLine = (line.kind & OtherLine) == 0;
        if (fileLine && !sameSize) {
            shape.clear();
            PutShaped(line.size, shape, sizeNumbers);
            sizeShapes.put(shape, columns[SizeShapes], columns[SizeShapeNumbers]);
        }
        if (fileLine && !sameDate) {
            shape.clear();
            PutShaped(line.date, shape, dateNumbers);
            dateShapes.put(shape, columns[DateShapes], columns[DateShapeNumbers]);
        }
    }
    std::string raw;
    PutNumber(raw, members.size());
    for (const std::string& column : columns) {
        PutNumber(raw, column.size());
        PutText(raw, Deflate(column));
    }
    return raw;
}

std::optional<std::vector<StoredPart>> ReadParts(std::string_view payload, PartLayout layout) {
    ByteReader in(payload);
    const std::uint64_t versions = in.number();
    const std::uint64_t count = layout == PartLayout::InlineShapes ? 1 : in.number();
    std::vector<StoredPart> parts;
    for (std::uint64_t part = 0; part < count && !in.broken(); ++part) {
        StoredPart stored;
        stored.versions = layout == PartLayout::InlineShapes ? versions : in.number();
        for (int column = 0; column < PartColumnCount; ++column) {
            if (Kept(layout, column)) {
                stored.sizes[column] = in.number();
                stored.columns[column] = in.text();
            }
        }
        parts.push_back(stored);
    }
    if (in.broken() || !in.atEnd()) {
        return std::nullopt;
    }
    return parts;
}

namespace {

// A size or date text as its line is rebuilt: that of the line told against, one of the
// part's shapes filled with its numbers (second layout), or rebuilt already (first).
struct TextSource {
    std::string_view text;
    const ShapeTemplate* shape = nullptr;

    std::size_t length() const { return shape ? shape->length() : text.size(); }
};

// A part's columns inflated, and read from the front as its lines are rebuilt.
class PartReading {
public:
    PartReading(const StoredPart& stored, PartLayout layout) : layout_(layout) {
        Inflater inflater;
        for (int column = 0; column < PartColumnCount; ++column) {
            whole_ = whole_ && (!Kept(layout, column) ||
                                inflater.inflate(stored.columns[column],
                                                 static_cast<std::size_t>(stored.sizes[column]),
                                                 inflated_[column]));
        }
        if (whole_ && layout == PartLayout::ShapeLists) {
            whole_ =
                readShapeList(SizeShapes, sizeShapes_) && readShapeList(DateShapes, dateShapes_);
        }
        for (std::size_t column = SizeNumbers; column < PartColumnCount; ++column) {
            numbers_.emplace_back(inflated_[column]);
        }
        ranks_ = ByteReader(inflated_[Ranks]);
        firsts_ = ByteReader(inflated_[Firsts]);
        spans_ = ByteReader(inflated_[Spans]);
        shared_ = ByteReader(inflated_[Shared]);
        sizeShapeNumbers_ = ByteReader(inflated_[SizeShapeNumbers]);
        dateShapeNumbers_ = ByteReader(inflated_[DateShapeNumbers]);
    }
    PartReading(const PartReading&) = delete;
    PartReading& operator=(const PartReading&) = delete;

    bool whole() const { return whole_; }
    std::string_view kinds() const { return inflated_[Kinds]; }

    std::uint64_t rank() { return ranks_.number(); }
    std::uint64_t first() { return firsts_.number(); }
    std::uint64_t span() { return spans_.number(); }
    std::uint64_t shared() { return shared_.number(); }
    std::optional<std::string_view> suffix() { return NextText(inflated_[Suffixes], suffixAt_); }

    // The next size or date text (`Size` or `Date`): its shape in the second layout; in
    // the first, the text rebuilt into `text`. False when the columns end too soon.
    bool take(PartColumn shapes, std::string& text, TextSource& source);
    std::span<ByteReader> numbers(PartColumn shapes) {
        return shapes == SizeShapes ? std::span(numbers_).subspan(0, SizeNumberColumns)
                                    : std::span(numbers_).subspan(SizeNumberColumns);
    }

    bool endsWhole() const {
        return !ranks_.broken() && !firsts_.broken() && !spans_.broken() && !shared_.broken() &&
               !sizeShapeNumbers_.broken() && !dateShapeNumbers_.broken() &&
               std::none_of(numbers_.begin(), numbers_.end(),
                            [](const ByteReader& column) { return column.broken(); });
    }

private:
    bool readShapeList(PartColumn column, std::vector<ShapeTemplate>& shapes) {
        const std::string_view list = inflated_[column];
        for (std::size_t at = 0; at < list.size();) {
            auto shape = ShapeTemplate::Read(list, at);
            if (!shape) {
                return false;
            }
            shapes.push_back(std::move(*shape));
        }
        return true;
    }

    PartLayout layout_;
    bool whole_ = true;
    std::array<std::string, PartColumnCount> inflated_;
    std::vector<ByteReader> numbers_;
    std::vector<ShapeTemplate> sizeShapes_;
    std::vector<ShapeTemplate> dateShapes_;
    // Made once the columns are inflated.
    ByteReader ranks_{{}};
    ByteReader firsts_{{}};
    ByteReader spans_{{}};
    ByteReader shared_{{}};
    ByteReader sizeShapeNumbers_{{}};
    ByteReader dateShapeNumbers_{{}};
    std::size_t suffixAt_ = 0;
    std::size_t sizeAt_ = 0;
    std::size_t dateAt_ = 0;
};

SplitLine EarlierLine(const PartContext& context, std::uint64_t rank) {
    const LinePlace place = context.places[static_cast<std::size_t>(rank)];
    return context.parts[place.part].split(place.index);
}

// Writes a size or date text at `out` and moves it past; false when its numbers are
// damaged.
bool Put(const TextSource& source, std::span<ByteReader> numbers, char*& out) {
    if (source.shape) {
        const bool filled = source.shape->fill(numbers, out);
        out += source.shape->length();
        return filled;
    }
    out = std::copy(source.text.begin(), source.text.end(), out);
    return true;
}

bool PartReading::take(PartColumn shapes, std::string& text, TextSource& source) {
    const bool size = shapes == SizeShapes;
    if (layout_ == PartLayout::ShapeLists) {
        const std::vector<ShapeTemplate>& list = size ? sizeShapes_ : dateShapes_;
        ByteReader& named = size ? sizeShapeNumbers_ : dateShapeNumbers_;
        const std::uint64_t number = named.number();
        source.shape = number < list.size() && !named.broken() ? &list[number] : nullptr;
        return source.shape != nullptr;
    }
    if (!TakeShaped(inflated_[shapes], size ? sizeAt_ : dateAt_, numbers(shapes), text)) {
        return false;
    }
    source.text = text;
    return true;
}

}  // namespace

bool DecodePart(const StoredPart& stored, PartLayout layout, const PartContext& context,
                GrowingRoom& room, PartLines& lines) {
    static_assert(std::is_trivially_copyable_v<DecodedLine>, "moved with its room's bytes");
    PartReading reading(stored, layout);
    if (!reading.whole()) {
        return false;
    }
    const std::string_view kinds = reading.kinds();
    // Every version has its own place in the order: a part can't hold more.
    const std::size_t count = static_cast<std::size_t>(
        std::min({std::uint64_t{kinds.size()}, stored.versions, context.totalVersions}));
    // The lines' places come first, then their texts, which grow at the room's top and may
    // move as they grow until the part is done: `lines` is kept pointing at them.
    auto* const placed =
        reinterpret_cast<DecodedLine*>(room.makeRoom(0, count * sizeof(DecodedLine)));
    room.finish(count * sizeof(DecodedLine));
    lines = {};
    std::string sizeText;  // the first layout's texts, rebuilt before their line
    std::string dateText;
    std::uint64_t previousRank = NoRank;
    std::uint64_t rank = 0;
    for (std::size_t index = 0; index < count; ++index) {
        rank += reading.rank();
        const std::uint64_t first = context.firstEntry + reading.first();
        const std::uint64_t span = reading.span();
        const auto kind = static_cast<unsigned char>(kinds[index]);
        // A version belongs to the block of the entry that first listed it, lasts no
        // longer than the store's entries, and follows the part's versions before it.
        if (rank >= context.totalVersions || (previousRank != NoRank && rank <= previousRank) ||
            first >= context.blockEnd || span >= context.entries - first) {
            return false;
        }
        const std::uint64_t before = ToldAgainst(*context.earlier, rank, previousRank);
        const bool inPart = before != NoRank && before == previousRank;
        // Of a line of this part, only its lengths: its texts may move as this one is added.
        const SplitLine reference = before == NoRank ? SplitLine{OtherLine, {}, {}, {}}
                                    : inPart         ? lines.split(index - 1)
                                                     : EarlierLine(context, before);
        const auto suffix = reading.suffix();
        if (!suffix) {
            return false;
        }
        const std::size_t shared =
            std::min(reference.path.size(), static_cast<std::size_t>(reading.shared()));
        const bool fileLine = (kind & OtherLine) == 0;
        TextSource size{reference.size};
        TextSource date{reference.date};
        if (fileLine && (((kind & SameSize) == 0 && !reading.take(SizeShapes, sizeText, size)) ||
                         ((kind & SameDate) == 0 && !reading.take(DateShapes, dateText, date)))) {
            return false;
        }
        const std::string_view ending = EndingOf(kind);
        const LineCut cut{static_cast<std::uint32_t>(shared + suffix->size()),
                          static_cast<std::uint32_t>(fileLine ? size.length() : 0),
                          static_cast<std::uint32_t>(fileLine ? date.length() : 0), kind};
        const std::size_t length =
            cut.path + (fileLine ? cut.size + cut.date + 2 : 0) + ending.size();
        const std::size_t offset = lines.texts.size();
        char* const texts = room.makeRoom(offset, length);
        const bool moved = texts != lines.texts.data();
        lines.texts = std::string_view(texts, offset + length);
        // The room made, a line of this part told against has moved if the room's top did,
        // and stays where it is until the next line is added.
        const SplitLine told = inPart && moved ? lines.split(index - 1) : reference;
        char* out = std::copy_n(told.path.data(), shared, texts + offset);
        out = std::copy(suffix->begin(), suffix->end(), out);
        if (fileLine) {
            *out++ = '|';
            if (!Put((kind & SameSize) != 0 ? TextSource{told.size} : size,
                     reading.numbers(SizeShapes), out)) {
                return false;
            }
            *out++ = '|';
            if (!Put((kind & SameDate) != 0 ? TextSource{told.date} : date,
                     reading.numbers(DateShapes), out)) {
                return false;
            }
        }
        std::copy(ending.begin(), ending.end(), out);
        new (placed + index) DecodedLine{
            rank,
            {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(first + span), offset,
             static_cast<std::uint32_t>(length)},
            cut};
        lines.lines = std::span(placed, index + 1);
        previousRank = rank;
    }
    if (!reading.endsWhole() || lines.lines.size() != stored.versions) {
        return false;
    }
    room.finish(lines.texts.size());
    return true;
}

}  // namespace kestrava::history
