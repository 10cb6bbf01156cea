// The InfoCentre's document descriptors ("NNNNN.InC" in the content folder): reading them field by
// field, and deleting a document with the files it names. Only names that stay inside the content
// folder are ever used, so a descriptor can never reach the files around it.
#pragma once

#include "infocentre/InCIndex.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Display flags of a descriptor, copied into its index entry when it is filed.
constexpr uint8_t kInCDocExpires = 0x02;
constexpr uint8_t kInCDocExpiryInDays = 0x04;
// Class flags.
constexpr uint8_t kInCClassResubmit = 0x04;
constexpr uint8_t kInCClassSurvey = 0x08;

// What a document window needs: the fixed header, the title and the page to show.
struct InCDocSummary {
    uint16_t number = 0;
    uint8_t classFlags = 0;
    uint8_t displayFlags = 0;
    uint16_t expiry = 0;
    uint8_t sizeMode = 0;
    uint16_t sizeValue = 0;
    uint16_t orientation = 0;
    char vertical = 'C';
    char horizontal = 'C';
    std::string title;
    std::string firstFile; // empty: the document cannot be shown
};

// What the rebuild needs: the summary, the texts and the superseded numbers.
struct InCDocRecord {
    InCDocSummary summary;
    std::string category;
    std::string subCategory;
    std::vector<uint16_t> superseded;
    std::vector<std::string> files;
};

// The descriptor file of document n in the folder.
std::filesystem::path InCDescriptorPath(const std::filesystem::path& folder, uint16_t number);

// Parses descriptor bytes; false when the tag or the number differs or a count passes the end.
bool ParseInCDescriptor(std::span<const uint8_t> bytes, uint16_t number, InCDocRecord& record);

bool ReadDocHeader(const std::filesystem::path& file, uint16_t number, InCDocSummary& summary);
bool ReadDocRecord(const std::filesystem::path& file, uint16_t number, InCDocRecord& record);

// The path of an attached file, or nothing when the name is empty, absolute or leads out of the folder.
std::optional<std::filesystem::path> ContentFilePath(const std::filesystem::path& folder, const std::string& name);

// Deletes the attached files of the descriptor in the folder; files that are missing are passed over.
void DeleteDocFiles(const std::filesystem::path& folder, uint16_t number);
// For each number whose bit is clear: deletes its files and descriptor and sets its bit. `self` is
// never deleted, so a document that names itself as superseded keeps its files.
void DeleteDocuments(const std::filesystem::path& folder, std::span<const uint16_t> numbers,
                     CInCIndex::Table& withdrawn, uint16_t self = 0);

} // namespace qv
