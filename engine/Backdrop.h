#pragma once

// Something drawn behind the whole picture that may keep a copy of itself. The
// renderer lets it make the copy right after each frame's clear, before anything
// else is drawn.
class Backdrop {
public:
    virtual ~Backdrop() = default;
    // Makes the copy when it is due.
    virtual void BakeIfSteady() = 0;
    virtual bool HoldsCopy() const = 0;
};
