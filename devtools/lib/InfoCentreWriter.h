// Stands in for the InfoCentre content service: writes document descriptors byte for byte, small
// HTML pages that take the style sheet through their own link, and the demo library.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qv::dev {

struct InCDocumentSpec {
    uint16_t number = 1;
    uint16_t fileNumber = 0; // the number in the file name; 0: the same as `number`
    uint8_t classFlags = 0;
    uint8_t displayFlags = 0;
    uint16_t expiry = 0;
    std::string title = "Document";
    std::string category = "General";
    std::string subCategory;
    std::vector<uint16_t> superseded;
    std::vector<std::string> files; // the first is the page shown
};

std::vector<uint8_t> InCDescriptorBytes(const InCDocumentSpec& spec);
// Writes the descriptor and, for each attached ".htm" file, a page with `body` as its text.
bool WriteInCDocument(const std::filesystem::path& folder, const InCDocumentSpec& spec, const std::string& body = {});
std::string InCPage(const std::string& title, const std::string& body);

// The demo library: newsletters, a FAQ, a form with its thanks page, a survey, the introduction,
// one superseded and one expiring document.
bool WriteDemoInfoCentre(const std::filesystem::path& content);

} // namespace qv::dev
