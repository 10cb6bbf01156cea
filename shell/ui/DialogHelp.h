// Help asked for from a dialog: its Help button opens the dialog's topic, and F1 on a control shows the
// pop-up topic numbered by the control's id plus 0x10000 (controls carry their ids as object names).
#pragma once

#include <cstdint>
#include <functional>

class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace qv {

// Shows a topic (popup: a control's pop-up topic). The default asks the main frame's help, or shows the
// help stand-in's text in a pop-up when there is no frame; tests record instead.
using DialogHelpHost = std::function<void(uint32_t topic, bool popup)>;
DialogHelpHost SetDialogHelpHost(DialogHelpHost host);

void ShowDialogHelp(uint32_t topic);
void ShowPopupHelp(uint32_t topic);
// The pop-up topic of a control: its id, or that of the nearest parent named by an id, plus 0x10000;
// 0 when none is.
uint32_t ControlHelpTopic(const QWidget* control);
void ShowControlHelp(const QWidget* control);

// Has F1 in the dialog show the focused control's pop-up topic (once per dialog).
void InstallControlHelp(QDialog& dialog);
// The same, and connects the Help button (when given) to the dialog's topic.
void InstallDialogHelp(QDialog& dialog, uint32_t topic, QPushButton* helpButton = nullptr);

// The OK (id 1), Cancel (id 2) and Help buttons of a dialog, connected to accept, reject and the topic.
QDialogButtonBox* OkCancelHelpButtons(QDialog& dialog, uint32_t helpTopic);

} // namespace qv
