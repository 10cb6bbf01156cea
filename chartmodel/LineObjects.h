// The user's drawing objects on a chart (line studies, pitchforks and text boxes): their nodes in a
// pane's object list and their packed form, one item per share and chart in the lines-and-text store.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qv {

struct KeyedItemKey;

enum class LineObjectKind : uint32_t { None = 0, LineStudy = 1, Pitchfork = 2, Text = 3 };

// Stored bytes of a node: a line study or pitchfork stores 16 + 8 x points (at most 144 bytes), a
// text object 132 + its text (at most 332 bytes).
inline constexpr size_t kLineObjectStoredBytes = 332;
inline constexpr size_t kLinePointsOffset = 16;
inline constexpr size_t kLinePointSize = 8;
inline constexpr size_t kLineObjectMaxBytes = 144;
inline constexpr size_t kTextLengthOffset = 124;
inline constexpr size_t kTextOffset = 132;
inline constexpr size_t kTextMaxLength = kLineObjectStoredBytes - kTextOffset;
inline constexpr size_t kMaxLinePoints = (kLineObjectMaxBytes - kLinePointsOffset) / kLinePointSize;

// Flag byte: bit 0 the object exists and is saved.
inline constexpr uint8_t kLineObjectSaved = 0x01;

struct LineObject;

// The list of a pane (or any other holder) of drawing objects; new nodes go to its head.
struct LineObjectList {
    LineObject* head = nullptr;
};

// A position on the screen, in pixels.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct LineObject {
    // The leading bytes, stored as they stand, and room for the end of a text of the longest length.
    std::array<uint8_t, kLineObjectStoredBytes + 1> stored{};
    LineObjectKind kind = LineObjectKind::None;
    uint16_t selectedPart = 0;  // 0 none; 1-3 points (text boxes 1-4 corners, 5-8 edges); 9 the body
    // Bit 0 the object exists and is saved (persistent); bit 1 draw the main line; bit 2 draw the
    // regression channel.
    uint8_t flags = 0;
    // From the last drawing pass: the points in pixels (a text box's four corners) and, for a line
    // study, its extended left and right ends in the third and fourth; for a pitchfork the far end of
    // each of its three lines.
    std::array<ScreenPoint, 4> screen{};
    std::array<ScreenPoint, 3> farEnds{};
    bool visible = false;
    uint32_t penCopy = 0;       // the pen of secondary lines (the regression channel)
    uint32_t tag = 0;
    // A text box moved by its fixed point: a drag takes its anchor along. Held while it is selected,
    // never saved.
    bool fixedPoint = false;
    LineObjectList* owner = nullptr;
    LineObject* next = nullptr;

    uint32_t subtype() const;          // offset 0 (text objects: 10)
    uint32_t penOrTime() const;        // offset 8: the pen word, or a text object's time
    uint16_t alarm() const;            // offset 12: a line study's alarm word
    void setAlarm(uint16_t word);
    uint8_t capacity() const;          // offset 14
    int8_t pointCount() const;         // offset 15
    void setPointCount(int8_t count);
    int32_t pointTime(int i) const;    // each point begins with its time
    uint8_t* point(int i);
    uint32_t textLength() const;       // offset 124
    // The bytes this object keeps when packed.
    size_t packedSize() const;
};

// What a new text object starts with, from the program's text-box settings.
struct TextBoxDefaults {
    uint8_t option = 0;                 // stored at offset 6
    std::array<uint8_t, 60> font{};     // a font description, stored from offset 56
    uint32_t textColour = 0;            // stored at offset 32 (the text colour field)
    int32_t pointSize = 0;              // stored at offset 116; 0: the chart font's size
};
TextBoxDefaults& DefaultTextBox();

LineObject* AddLineObject(LineObjectList& list, uint32_t subtype, uint32_t pen);
LineObject* AddPitchforkObject(LineObjectList& list, uint32_t firstWord, uint32_t pen);
LineObject* AddTextObject(LineObjectList& list);
void FreeLineObjectList(LineObjectList& list);

// Line-study subtypes anchored at their first point: Gann angle, quadrant line and percentage change
// line.
bool IsAnchoredStudy(uint32_t subtype);

// The packed item of the list's saved objects: texts, then line studies, then pitchforks; empty when
// no object is saved.
std::vector<uint8_t> PackLineObjects(const LineObjectList& list);

// Packs the list and stores it under (share key, kind, sub-key) in the lines-and-text store; with no
// saved object the item is cleared.
void LineObjectsSize(const LineObjectList& list, uint32_t shareKey, uint16_t kind, uint32_t subKey);

// Appends the objects of a packed item to the list (each at the head, so they come out reversed).
void UnpackLineObjects(LineObjectList& list, std::span<const uint8_t> item);
// Fetches the item of the key from the lines-and-text store and appends its objects to the list.
void LoadLineObjects(LineObjectList& list, const KeyedItemKey& key);
void LoadLineObjectsFor(LineObjectList& list, uint32_t shareKey, uint16_t kind, uint32_t subKey);

// Walks the objects of a packed item, every step bounded by its section and the item: the visitor
// gets the kind and the object's bytes (at most the stored maximum of its kind), which it may change.
void ForEachPackedObject(std::span<uint8_t> item, const std::function<void(LineObjectKind, std::span<uint8_t>)>& visit);

// Text objects of stores older than version 7 kept a height in both font-height fields (the font
// description's height at 56 and the point size at 116): the first takes the second's height and the
// second becomes the point size, 0.5 - h x 72 / the screen's vertical pixels per inch, cut to a whole
// number. Objects whose two fields are not both negative are left as they are.
void FixOldTextSizes(uint8_t* blob, int pixelsPerInchY);

} // namespace qv
