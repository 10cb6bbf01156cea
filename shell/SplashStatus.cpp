// Forwards the start-up progress to the splash window when one is shown.
#include "shell/SplashStatus.h"

namespace qv {
namespace {

SplashHost* gSplash = nullptr;

} // namespace

SplashHost* SetSplashHost(SplashHost* host)
{
    SplashHost* previous = gSplash;
    gSplash = host;
    return previous;
}

void SetSplashStatus(int position, const std::string& text)
{
    if (gSplash && gSplash->shown())
        gSplash->setStatus(position, text);
}

void SetSplashProgress(int position)
{
    if (gSplash && gSplash->shown())
        gSplash->setProgress(position);
}

} // namespace qv
