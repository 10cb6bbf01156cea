// The optional external e-mail library: its entries when it is present. This platform has none, so
// every entry stays empty and no new mail is ever waiting.
#pragma once

namespace qv {

struct EmailLibrary {
    bool present = false;
    // "IsNewMail" answered non-zero at start-up.
    bool newMailWaiting = false;
    int (*isNewMail)() = nullptr;
    int (*ccMessage)(const char* text) = nullptr;
    int (*isWaitingEmail)() = nullptr;
    int (*addNewMessages)() = nullptr;
};

// Looks the library up once; later calls give the same answer.
const EmailLibrary& LoadEmailLibrary();

} // namespace qv
