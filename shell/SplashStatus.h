// The splash screen's status line and progress bar as the start-up steps and the database loader
// move them. The window layer installs the splash; without one every call is dropped.
#pragma once

#include <string>

namespace qv {

class SplashHost {
public:
    virtual ~SplashHost() = default;
    virtual bool shown() const = 0;
    virtual void setStatus(int position, const std::string& text) = 0;
    virtual void setProgress(int position) = 0;
};

// Installs the host (null: none); the previous host is returned.
SplashHost* SetSplashHost(SplashHost* host);

// With a splash shown: stores the text, moves the bar to the position (0-100), redraws the status
// line and lets waiting messages through. Without one the text is dropped.
void SetSplashStatus(int position, const std::string& text);
// With a splash shown: moves the bar and lets waiting messages through.
void SetSplashProgress(int position);

} // namespace qv
