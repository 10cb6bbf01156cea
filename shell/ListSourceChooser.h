// The small chooser by which a dialog picks a list source: a built-in list (by code) or a user
// portfolio, through two radio buttons for the common lists and a combo box for the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

struct Portfolio;

constexpr uint16_t kChooserUserPortfolio = 65534;   // "<<User portfolio>>"
constexpr uint16_t kChooserChosenPortfolio = 65535; // "Port: %s"

// The built-in list codes the chooser offers in a mode (0, 1, 2 and above).
std::vector<uint16_t> ChooserListCodes(int mode);

class ListSourceChooser {
public:
    struct Entry {
        std::string text;
        uint16_t data;
    };
    // The portfolio choice dialog: null on Cancel.
    using PortfolioPicker = std::function<Portfolio*()>;

    // Fills the combo box for the mode and selects the chosen code (or the chosen portfolio);
    // checks the radio button of the code: 1 the first, 4 the third, any other the second.
    void Fill(int mode);
    // One of the three radio buttons (0-2) was chosen.
    void OnSelect(int radio);
    // The combo box's selection changed to the entry.
    void OnComboChange(int index, const PortfolioPicker& pick);

    int32_t code = 0;
    int32_t portfolioNumber = -1; // the chosen portfolio's number; -1 none
    Portfolio* portfolio = nullptr;
    std::vector<Entry> entries;
    int selected = -1;
    int radio = 1;
    bool comboEnabled = false;

private:
    void RemovePortfolioEntry();
};

} // namespace qv
