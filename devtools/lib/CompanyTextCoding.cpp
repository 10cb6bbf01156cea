// Coding the company texts of a written database.
#include "devtools/lib/CompanyTextCoding.h"

namespace qv::dev {

std::optional<CodedCompanyTexts> CodeCompanyTexts(const std::map<uint16_t, std::string>& texts,
                                                  const std::vector<std::string>& phrases,
                                                  const std::vector<std::string>& words)
{
    TextCoderInput input;
    for (const auto& [id, text] : texts)
        input.texts.push_back(text);
    input.phrases = phrases;
    input.words = words;
    auto coder = TextCoder::Build(input);
    if (!coder)
        return std::nullopt;
    CodedCompanyTexts out;
    for (const auto& [id, text] : texts) {
        if (!coder->canEncode(text))
            return std::nullopt;
        auto bits = coder->encode(text);
        if (bits.size() > 255)
            return std::nullopt;
        out.coded[id] = std::move(bits);
    }
    CodingTables tables;
    coder->install(tables, kCodedDescriptionKind);
    out.tablesBlock = CodingTablesDatabaseBlock(tables, 1);
    return out;
}

} // namespace qv::dev
