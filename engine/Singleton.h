#pragma once

// Base of every manager: each manager is one global instance with static storage.
template <typename T>
class singleton {
public:
    virtual ~singleton() = default;
};
