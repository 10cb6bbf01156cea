// Coded company texts for written databases: one coding tree built from all the texts, carried as
// the coding-table block, and each text's code for its company-data field.
#pragma once

#include "devtools/lib/TextCoder.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qv::dev {

// The company-data field (a counted run of coded bytes) and the text kind of the descriptions that
// written databases carry.
constexpr uint8_t kCodedDescriptionField = 30;
constexpr int kCodedDescriptionKind = 0;

struct CodedCompanyTexts {
    std::vector<uint8_t> tablesBlock;                // the extra block of a later directory entry
    std::map<uint16_t, std::vector<uint8_t>> coded; // by record id
};

// Null when the tree does not fit or a text has no coding, or a code is longer than a counted field.
std::optional<CodedCompanyTexts> CodeCompanyTexts(const std::map<uint16_t, std::string>& texts,
                                                  const std::vector<std::string>& phrases,
                                                  const std::vector<std::string>& words);

} // namespace qv::dev
