#pragma once
#include <chrono>

namespace tavi {

// The bar answers every message within this, whatever its files, folders and
// drives hold: a wait on the UI thread for a disk or a network is bounded
// well inside it, and what has not come by then comes later.
inline constexpr std::chrono::milliseconds kAnswerBudget{200};

}  // namespace tavi
