// Playing a wave file without waiting for it to end.
#pragma once

#include <string>

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Returns at once; a file that cannot be played is silently skipped.
    virtual void PlayAsync(const std::string& path) = 0;
};
