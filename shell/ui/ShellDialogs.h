// The commands that open the shell's own dialogs: the last update message (21109, 26168), the
// program password (26103), training (26781) and About (57664); and the password asked at start-up.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

class CMainFrame;

constexpr uint32_t kCommandReviewMessage = 21109;
constexpr uint32_t kCommandReviewMessageMenu = 26168;
constexpr uint32_t kCommandProgramPassword = 26103;
constexpr uint32_t kCommandTraining = 26781;

void InstallShellDialogs(CMainFrame& frame);
void RemoveShellDialogs();

// "Please enter password": the typed text, or nothing on Cancel.
std::optional<std::string> AskProgramPassword(QWidget* parent);

} // namespace qv
