// The price series the formula benchmarks run on: a random walk of closing
// prices (steps of one standard normal, never below 1), the same for every
// run.
#pragma once
#include <algorithm>
#include <random>
#include <vector>

inline std::vector<float> RandomWalkPrices(int bars, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> step(0.0f, 1.0f);
  std::vector<float> prices(static_cast<size_t>(bars));
  float price = 100.0f;
  for (float& p : prices) p = price = std::max(1.0f, price + step(rng));
  return prices;
}
