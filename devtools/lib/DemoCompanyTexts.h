// Invented business descriptions for the demo's companies, and the phrases and words their coding
// tree is built with.
#pragma once

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace qv::dev {

// A one- or two-sentence description of the demo company of that name (a first word, then its trade:
// one of the demo's trade words, "Investment Trust" or "Split Capital Trust", then maybe a number).
std::string DemoCompanyText(std::mt19937& rng, std::string_view companyName);

// Runs of raw coded symbols common in the descriptions, and word-list entries, for the coding tree.
const std::vector<std::string>& DemoTextPhrases();
const std::vector<std::string>& DemoTextWords();

} // namespace qv::dev
