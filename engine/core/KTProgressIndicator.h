#pragma once

namespace kt {

// Shows how far a loading screen has come; the director tells the first child of a loading scene that
// implements it. The progress bar control does.
class KTProgressIndicator {
public:
    virtual ~KTProgressIndicator() = default;

    // From 0 before the first file to 1 after the last.
    virtual void setProgress(float progress) = 0;
};

}  // namespace kt
