// Each built-in over 1,000,000 bars next to a plain C++ loop computing the
// same values over the same data. Window functions run with windows 10 and
// 1000: the built-ins stay O(n), the plain loops rescan their window.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "formula/functions/builtin_functions.h"
#include "price_series.h"
#include "common/smoke.h"

namespace {

const int kBars = bench_smoke::Scaled(1000000, 20000);

struct Data {
  std::vector<float> x, y, flags, weights;
  std::vector<SHistoryUnit> units;
  std::vector<float> out;
  Data()
      : x(RandomWalkPrices(kBars, 7)),
        y(kBars),
        flags(kBars),
        weights(kBars),
        units(kBars),
        out(kBars + 1) {
    std::mt19937 rng(8);
    std::normal_distribution<float> step(0.0f, 1.0f);
    for (int i = 0; i < kBars; ++i) {
      const float price = x[i];
      y[i] = price + step(rng);
      flags[i] = (rng() % 4 == 0) ? 1.0f : 0.0f;
      weights[i] = 0.05f + 0.9f * static_cast<float>(rng() % 1000) / 1000.0f;
      units[i] = {20240101,  price,        price + 1,
                  price - 1, price + 0.5f, static_cast<uint32_t>(rng() % 100000),
                  12345};
    }
  }
};
Data& D() {
  static Data data;
  return data;
}

SRegPar Series(std::vector<float>& s) { return {REG_SERIES, 0.0f, s.data(), nullptr}; }
SRegPar Number(float v) { return {REG_NUMBER, v, nullptr, nullptr}; }

void RunBuiltin(benchmark::State& state, std::string name, std::vector<SRegPar> args) {
  const SFunctionItem* item = formula::FindBuiltin(name.c_str());
  Data& d = D();
  for (auto _ : state) {
    formula::CallBuiltin(*item, args.data(), static_cast<int>(args.size()), d.out.data(), kBars,
                         d.units.data());
    benchmark::DoNotOptimize(d.out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBars);
}

// The plain loops: straightforward code with the same results (no checks
// for missing values; the data has none).
using Loop = std::function<void(Data&, float*)>;

void RunLoop(benchmark::State& state, Loop loop) {
  Data& d = D();
  for (auto _ : state) {
    loop(d, d.out.data());
    benchmark::DoNotOptimize(d.out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBars);
}

Loop Recurrence(float keep, float weight, float div) {
  return [=](Data& d, float* r) {
    r[0] = d.x[0];
    for (int i = 1; i < kBars; ++i) r[i] = (keep * r[i - 1] + weight * d.x[i]) / div;
  };
}
Loop WindowScan(int N, bool high, bool bars) {
  return [=](Data& d, float* r) {
    const float* x = d.x.data();
    for (int i = N - 1; i < kBars; ++i) {
      int at = i - N + 1;
      for (int j = at + 1; j <= i; ++j)
        if (high ? x[at] <= x[j] : x[at] >= x[j]) at = j;
      r[i] = bars ? static_cast<float>(i - at) : x[at];
    }
  };
}
Loop WindowStat(int N, bool stdDev) {
  return [=](Data& d, float* r) {
    const float* x = d.x.data();
    for (int i = N - 1; i < kBars; ++i) {
      double mean = 0, dev = 0;
      for (int j = i - N + 1; j <= i; ++j) mean += x[j];
      mean /= N;
      for (int j = i - N + 1; j <= i; ++j)
        dev += stdDev ? (x[j] - mean) * (x[j] - mean) : std::fabs(x[j] - mean);
      r[i] = static_cast<float>(stdDev ? std::sqrt(dev / N) : dev / N);
    }
  };
}
Loop Math1(double (*fn)(double)) {
  return [=](Data& d, float* r) {
    for (int i = 0; i < kBars; ++i) r[i] = static_cast<float>(fn(d.x[i]));
  };
}
Loop Math2(double (*fn)(double, double)) {
  return [=](Data& d, float* r) {
    for (int i = 0; i < kBars; ++i) r[i] = static_cast<float>(fn(d.x[i], d.y[i]));
  };
}

struct Pair {
  std::string label;
  std::string name;
  std::function<std::vector<SRegPar>(Data&)> args;
  Loop loop;
};

std::vector<Pair> Pairs() {
  std::vector<Pair> pairs = {
      {"CLOSE", "CLOSE", [](Data&) { return std::vector<SRegPar>{}; },
       [](Data& d, float* r) {
         for (int i = 0; i < kBars; ++i) r[i] = d.units[i].fClose;
       }},
      {"VOL", "VOL", [](Data&) { return std::vector<SRegPar>{}; },
       [](Data& d, float* r) {
         for (int i = 0; i < kBars; ++i) r[i] = static_cast<float>(d.units[i].nVolume);
       }},
      {"SMA(X,5,2)", "SMA",
       [](Data& d) {
         return std::vector{Series(d.x), Number(5), Number(2)};
       },
       Recurrence(3, 2, 5)},
      {"EXPMA(X,12)", "EXPMA",
       [](Data& d) {
         return std::vector{Series(d.x), Number(12)};
       },
       Recurrence(11, 2, 13)},
      {"EMA(X,12)", "EMA",
       [](Data& d) {
         return std::vector{Series(d.x), Number(12)};
       },
       Recurrence(11, 2, 13)},
      {"MEMA(X,12)", "MEMA",
       [](Data& d) {
         return std::vector{Series(d.x), Number(12)};
       },
       Recurrence(11, 1, 12)},
      {"EXPMEMA(X,12)", "EXPMEMA",
       [](Data& d) {
         return std::vector{Series(d.x), Number(12)};
       },
       Recurrence(11, 2, 13)},
      {"DMA(X,A)", "DMA",
       [](Data& d) {
         return std::vector{Series(d.x), Series(d.weights)};
       },
       [](Data& d, float* r) {
         r[0] = d.x[0];
         for (int i = 1; i < kBars; ++i) {
           const float a = d.weights[i];
           r[i] = a < 1 ? r[i - 1] * (1 - a) + a * d.x[i] : d.x[i];
         }
       }},
      {"BACKSET(F,10)", "BACKSET",
       [](Data& d) {
         return std::vector{Series(d.flags), Number(10)};
       },
       [](Data& d, float* r) {
         std::fill(r, r + kBars, 0.0f);
         for (int i = kBars - 1; i >= 10; --i)
           if (d.flags[i] != 0)
             for (int j = i - 9; j <= i; ++j) r[j] = 1;
       }},
      {"BARSCOUNT(X)", "BARSCOUNT", [](Data& d) { return std::vector{Series(d.x)}; },
       [](Data&, float* r) {
         for (int i = 0; i < kBars; ++i) r[i] = static_cast<float>(i);
       }},
      {"BARSLAST(F)", "BARSLAST", [](Data& d) { return std::vector{Series(d.flags)}; },
       [](Data& d, float* r) {
         int n = 0;
         for (int i = 0; i < kBars; ++i) {
           if (d.flags[i] != 0) n = 0;
           r[i] = static_cast<float>(n++);
         }
       }},
      {"BARSSINCE(F)", "BARSSINCE", [](Data& d) { return std::vector{Series(d.flags)}; },
       [](Data&, float* r) {
         for (int i = 0; i < kBars; ++i) r[i] = static_cast<float>(i);
       }},
      {"REF(X,5)", "REF",
       [](Data& d) {
         return std::vector{Series(d.x), Number(5)};
       },
       [](Data& d, float* r) {
         for (int i = 5; i < kBars; ++i) r[i] = d.x[i - 5];
       }},
      {"CROSS(X,Y)", "CROSS",
       [](Data& d) {
         return std::vector{Series(d.x), Series(d.y)};
       },
       [](Data& d, float* r) {
         for (int i = 1; i < kBars; ++i)
           r[i] = (d.x[i] > d.y[i] && d.x[i - 1] < d.y[i - 1]) ? 1.0f : 0.0f;
       }},
  };
  for (int N : {10, 1000}) {
    const std::string w = std::to_string(N);
    const float Nf = static_cast<float>(N);
    pairs.push_back({"MA(X," + w + ")", "MA",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     [N](Data& d, float* r) {
                       double s = 0;
                       for (int i = 0; i < kBars; ++i) {
                         s += d.x[i];
                         if (i >= N) s -= d.x[i - N];
                         if (i >= N - 1) r[i] = static_cast<float>(s / N);
                       }
                     }});
    pairs.push_back({"SUM(X," + w + ")", "SUM",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     [N](Data& d, float* r) {
                       double s = 0;
                       for (int i = 0; i < kBars; ++i) {
                         s += d.x[i];
                         if (i >= N) s -= d.x[i - N];
                         r[i] = static_cast<float>(s);
                       }
                     }});
    pairs.push_back({"COUNT(F," + w + ")", "COUNT",
                     [Nf](Data& d) {
                       return std::vector{Series(d.flags), Number(Nf)};
                     },
                     [N](Data& d, float* r) {
                       int c = 0;
                       for (int i = 0; i < kBars; ++i) {
                         c += d.flags[i] != 0;
                         if (i >= N) c -= d.flags[i - N] != 0;
                         r[i] = static_cast<float>(c);
                       }
                     }});
    pairs.push_back({"HHV(X," + w + ")", "HHV",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     WindowScan(N, true, false)});
    pairs.push_back({"HHVBARS(X," + w + ")", "HHVBARS",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     WindowScan(N, true, true)});
    pairs.push_back({"LLV(X," + w + ")", "LLV",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     WindowScan(N, false, false)});
    pairs.push_back({"LLVBARS(X," + w + ")", "LLVBARS",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     WindowScan(N, false, true)});
    pairs.push_back({"STD(X," + w + ")", "STD",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     WindowStat(N, true)});
    pairs.push_back({"AVEDEV(X," + w + ")", "AVEDEV",
                     [Nf](Data& d) {
                       return std::vector{Series(d.x), Number(Nf)};
                     },
                     WindowStat(N, false)});
  }
  using M1 = double (*)(double);
  using M2 = double (*)(double, double);
  const std::pair<const char*, M1> math1[] = {
      {"SQRT", [](double v) { return std::sqrt(v); }},
      {"EXP", [](double v) { return std::exp(v / 100); }},
      {"LOG", [](double v) { return std::log(v); }},
      {"LN", [](double v) { return std::log(v); }},
      {"LOG10", [](double v) { return std::log10(v); }},
      {"ABS", [](double v) { return std::fabs(v); }},
      {"ACOS", [](double v) { return std::acos(v); }},
      {"ASIN", [](double v) { return std::asin(v); }},
      {"ATAN", [](double v) { return std::atan(v); }},
      {"COS", [](double v) { return std::cos(v); }},
      {"COSH", [](double v) { return std::cosh(v); }},
      {"SIN", [](double v) { return std::sin(v); }},
      {"SINH", [](double v) { return std::sinh(v); }},
      {"TAN", [](double v) { return std::tan(v); }},
      {"TANH", [](double v) { return std::tanh(v); }},
  };
  for (const auto& [name, fn] : math1) {
    if (std::string(name) == "EXP") {  // exp of prices overflows; both sides use X/100
      pairs.push_back({"EXP(X/100)", name,
                       [](Data& d) {
                         static std::vector<float> scaled;
                         scaled.resize(kBars);
                         for (int i = 0; i < kBars; ++i) scaled[i] = d.x[i] / 100;
                         return std::vector{Series(scaled)};
                       },
                       [](Data& d, float* r) {
                         for (int i = 0; i < kBars; ++i)
                           r[i] = static_cast<float>(std::exp(static_cast<double>(d.x[i] / 100)));
                       }});
      continue;
    }
    pairs.push_back({std::string(name) + "(X)", name,
                     [](Data& d) { return std::vector{Series(d.x)}; }, Math1(fn)});
  }
  const std::pair<const char*, M2> math2[] = {
      {"POW", [](double a, double b) { return std::pow(a, b / 100); }},
      {"FMOD", [](double a, double b) { return std::fmod(a, b); }},
      {"MOD", [](double a, double b) { return std::fmod(a, b); }},
      {"MAX", [](double a, double b) { return a > b ? a : b; }},
      {"MIN", [](double a, double b) { return a < b ? a : b; }},
  };
  for (const auto& [name, fn] : math2) {
    if (std::string(name) == "POW") {  // exponents kept small on both sides
      pairs.push_back({"POW(X,Y/100)", name,
                       [](Data& d) {
                         static std::vector<float> scaled;
                         scaled.resize(kBars);
                         for (int i = 0; i < kBars; ++i) scaled[i] = d.y[i] / 100;
                         return std::vector{Series(d.x), Series(scaled)};
                       },
                       [](Data& d, float* r) {
                         for (int i = 0; i < kBars; ++i)
                           r[i] = static_cast<float>(std::pow(static_cast<double>(d.x[i]),
                                                              static_cast<double>(d.y[i] / 100)));
                       }});
      continue;
    }
    pairs.push_back({std::string(name) + "(X,Y)", name,
                     [](Data& d) {
                       return std::vector{Series(d.x), Series(d.y)};
                     },
                     Math2(fn)});
  }
  return pairs;
}

}  // namespace

int main(int argc, char** argv) {
  for (const Pair& p : Pairs()) {
    auto args = p.args(D());
    benchmark::RegisterBenchmark(("Builtin/" + p.label).c_str(), RunBuiltin, p.name, args)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("PlainLoop/" + p.label).c_str(), RunLoop, p.loop)
        ->Unit(benchmark::kMillisecond);
  }
  // The window functions alone over more windows: the cost does not follow
  // the window (AVEDEV grows with its logarithm beyond short windows).
  for (const char* name : {"HHV", "LLV", "SUM", "COUNT", "STD", "AVEDEV"})
    for (int N : {64, 100, 30000}) {
      const bool flags = std::string(name) == "COUNT";
      std::vector<SRegPar> args = {Series(flags ? D().flags : D().x),
                                   Number(static_cast<float>(N))};
      benchmark::RegisterBenchmark(
          ("Builtin/" + std::string(name) + (flags ? "(F," : "(X,") + std::to_string(N) + ")")
              .c_str(),
          RunBuiltin, std::string(name), args)
          ->Unit(benchmark::kMillisecond);
    }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
