// Writes an end-of-day database ("Quorva.dat") and its company data ("Comp.dat") byte-exact from a
// plain description, for tests, benchmarks and the demo data.
//
// How to use it:
//
//     DbFile db;                                  // header words, then directory entries
//     DbEntry& main = db.entries.emplace_back();  // the first entry is the share database proper
//     DbRecord& r = main.records.emplace_back(ShareRecord(0x4001, "Alpha Mining", 'O', "ALM"));
//     r.subRecords[0].kind = SubRecordKind::Ordinary;
//     r.subRecords[0].body = priceStreamBytes;    // stored as given (the coded price stream)
//     std::vector<uint8_t> quorva = WriteQuorvaDat(db);
//
//     CompFile comp;                              // descriptor tables and items of the two sections
//     comp.records.descriptors = {{1, 0x00}, {115, 0xE0}};          // field 1 text, field 115 byte
//     comp.records.items.push_back({0x4001, 0, {{1, Text("ALM")}, {115, {0}}}});
//     std::vector<uint8_t> compDat = WriteCompDat(comp);
//
//     WriteDatabaseFolder(folder, db, &comp);     // folder/data/Quorva.dat and folder/data/Comp.dat
//
// A record's sub-records are stored in order; the last one is stored with the length 0 and its
// body runs to the end of the record, as the file format wants. Descriptions the format cannot
// hold (a record longer than its length field, or than 65,535 bytes once loaded) throw
// std::length_error; a field value of the wrong width throws std::invalid_argument.
#pragma once

#include "core/RecordAccess.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::dev {

// A 20-byte record item: byte 2 the type, bytes 8-11 an f32 value, bytes 12-13 a PackedDate.
struct DbItem {
    std::array<uint8_t, 20> bytes{};
};
DbItem MakeItem(uint8_t type, float value, uint16_t date);

struct DbSubRecord {
    uint8_t kind = SubRecordKind::Ordinary;
    uint8_t byte3 = 0;
    float issueFigure = 0.0f;
    int16_t priceScale = 0;
    uint16_t firstDate = 0;
    std::array<uint8_t, 4> bytes12{}; // head bytes 12-15
    std::vector<uint8_t> body;        // stored after the 16-byte head: the coded price stream
};

struct DbRecord {
    uint16_t id = 0;
    // Stored head bytes after the id; in memory they sit from offset 4 (byte 0: bits 0-2 the
    // currency code). The u16-length form stores the first six, the one-byte form all seven.
    std::array<uint8_t, 7> head{};
    std::string text;               // the text part as stored (see ShareRecord)
    std::vector<DbItem> items;      // at most 255
    std::vector<DbSubRecord> subRecords; // at least one
};
// A share's text part: name, NUL, class byte, EPIC, NUL; with one ordinary-share sub-record.
DbRecord ShareRecord(uint16_t id, std::string_view name, uint8_t classByte, std::string_view epic);

struct DbEntry {
    std::vector<DbRecord> records;
    std::vector<uint8_t> extra; // the entry's extra block (at most 65,535 bytes), empty for none
    bool oneByteLengths = false;
    // For fixtures of odd files: the record count stated in the directory (default: the records),
    // and a stored record length of 0 written after the records (ending the stream early).
    std::optional<uint16_t> statedCount;
    bool zeroRecordAfter = false;
};

struct DbFile {
    uint8_t formatVersion = 1;
    uint8_t databaseVersion = 0;
    uint16_t wordA = 0;
    uint16_t date = 0; // PackedDate
    std::vector<DbEntry> entries;
};

// Bytes of one record as stored (the entry's length form).
std::vector<uint8_t> EncodeRecord(const DbRecord& record, bool oneByteLengths);
std::vector<uint8_t> WriteQuorvaDat(const DbFile& file);

// A field descriptor: {length, data type, field number, extra bytes}. Data types by high nibble:
// 0x00 a u8 count and that many bytes, 0x80 the low nibble's byte count, 0xD0 4 bytes, 0xE0 1 byte,
// 0xF0 2 bytes, others none.
struct FieldDescriptor {
    uint8_t field = 0;
    uint8_t type = 0;
    std::vector<uint8_t> extra;
};

// An item's values by field number; a missing field is written as zeros (a count of 0 for 0x00).
// Values of type 0x00 are given without their count byte.
struct CompanyItem {
    uint16_t id = 0;
    uint8_t subRecord = 0; // second section only
    std::map<uint8_t, std::vector<uint8_t>> values;
};

struct CompSection {
    uint8_t version = 1;
    uint16_t word = 0;
    std::vector<FieldDescriptor> descriptors; // the writer adds the ending descriptor (field 0)
    std::vector<CompanyItem> items;
};

struct CompFile {
    CompSection records; // fields below 128 of records
    CompSection streams; // fields 128 and up of sub-records
};

// The bytes of a text value (Windows-1252), for CompanyItem values.
std::vector<uint8_t> Text(std::string_view text);
std::vector<uint8_t> EncodeCompSection(const CompSection& section, bool streams);
std::vector<uint8_t> WriteCompDat(const CompFile& file);

// Writes FOLDER/data/Quorva.dat and, when given, FOLDER/data/Comp.dat; false on a write failure.
bool WriteDatabaseFolder(const std::filesystem::path& folder, const DbFile& file, const CompFile* comp);

} // namespace qv::dev
