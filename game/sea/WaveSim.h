#pragma once

#include <vector>

// A row of water columns that trade volume with their neighbours through the flows
// between them, so a disturbance travels sideways as ripples and the total volume
// never changes.
class WaveSim {
public:
    void Init(int count, float heightScale);
    // One step: flows from the volume differences, volumes from the flows, then the
    // clamp of negative columns and the heights.
    void Step();
    // Symmetric push of volume towards columns index - 1 and index from both sides.
    void Ripple(int index, float strength);
    // The lopsided push that sends a wave onwards to the right.
    void Surge(int index, float strength);

    // Sum of all columns, accumulated in double (conservation checks).
    double TotalVolume() const;

    int count = 0;
    float cellWidth = 0.0f;
    float heightScale = 0.0f;
    float flowGain = 0.0f;
    float impulseGain = 0.0f;
    std::vector<float> volumes;  // count columns
    std::vector<float> flows;    // count + 1 boundaries; entry i lies between i - 1 and i
    std::vector<float> heights;  // count columns

private:
    // Both pushes ignore columns this close to an end (and bad strengths); returns f.
    bool Impulse(int index, float strength, float& f) const;
};
