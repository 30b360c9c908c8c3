// Math, random and clock builtins.

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <string>

#include "support.h"

namespace velmor {

namespace {

Value floatResult(std::span<Value> args, const char* name, double (*function)(double)) {
    return Value(function(toNumber(args[0], name)));
}

// The running thread's generator, seeded once from one 32-bit draw of the
// platform's random source. If that source fails, the generator is left
// uninitialised and the next draw tries again, so no number ever comes from
// an unseeded generator.
std::mt19937_64& generator(const char* name) {
    try {
        thread_local std::mt19937_64 instance = [] {
            std::random_device source;
            const auto seed = static_cast<uint32_t>(source());
            return std::mt19937_64(seed);
        }();
        return instance;
    } catch (const std::exception&) {
        throw RuntimeError(std::string(name) + ": the random seed source is unavailable");
    }
}

// 10 to a power of 0 or more, the nearest double, so that the result does not
// hang on the quality of the platform's pow (mingw-w64's gave
// 1.0000000000000006e+308 for 10^308). The powers are read from their
// decimal text once; beyond 10^308 they overflow.
double powerOfTen(int64_t exponent) {
    static const std::array<double, 309> kPowers = [] {
        std::array<double, 309> powers{};
        for (std::size_t i = 0; i < powers.size(); ++i) {
            const std::string text = "1e" + std::to_string(i);
            std::from_chars(text.data(), text.data() + text.size(), powers[i]);
        }
        return powers;
    }();
    if (exponent < static_cast<int64_t>(kPowers.size())) return kPowers[static_cast<std::size_t>(exponent)];
    return std::numeric_limits<double>::infinity();
}

enum class Extreme { Smallest, Largest };

Value extreme(std::span<Value> args, const char* name, Extreme which) {
    std::span<const Value> candidates(args.data(), args.size());
    if (args.size() == 1 && args[0].isList()) candidates = args[0].listItems();
    if (candidates.empty()) throw RuntimeError(std::string(name) + ": no arguments");
    std::size_t best = 0;
    double bestValue = toNumber(candidates[0], name);
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const double value = toNumber(candidates[i], name);
        if (which == Extreme::Smallest ? value < bestValue : value > bestValue) {
            best = i;
            bestValue = value;
        }
    }
    return candidates[best];
}

}  // namespace

Value nativeFloor(Caller&, std::span<Value> args) {
    if (args[0].isInt()) return args[0];
    return Value(truncateToInt64(std::floor(toNumber(args[0], "floor"))));
}

Value nativeCeil(Caller&, std::span<Value> args) {
    if (args[0].isInt()) return args[0];
    return Value(truncateToInt64(std::ceil(toNumber(args[0], "ceil"))));
}

Value nativeRound(Caller&, std::span<Value> args) {
    const double x = toNumber(args[0], "round");
    if (args.size() == 1) {
        if (args[0].isInt()) return args[0];
        const double rounded = std::round(x);
        if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) return Value(int64_t{0});
        return Value(static_cast<int64_t>(rounded));
    }
    const int32_t digits = truncateToInt32(toNumber(args[1], "round"));
    if (!std::isfinite(x)) return Value(x);
    // Left of the point, divide by the power of ten rather than multiply by its
    // inexact reciprocal, so that round(1234, -2) is 1200.0 on every platform.
    if (digits < 0) {
        const double scale = powerOfTen(-static_cast<int64_t>(digits));
        if (!std::isfinite(scale)) return Value(std::copysign(0.0, x));
        // Rounding up past the largest double gives infinity, as the arithmetic does.
        return Value(std::round(x / scale) * scale);
    }
    const double scale = powerOfTen(digits);
    const double scaled = x * scale;
    // Beyond the precision of a double, rounding leaves the number as it is.
    if (!std::isfinite(scaled)) return Value(x);
    return Value(std::round(scaled) / scale);
}

Value nativeAbs(Caller&, std::span<Value> args) {
    if (args[0].isInt()) {
        const int64_t x = args[0].asInt();
        // Negated in unsigned arithmetic: the most negative Int comes back unchanged.
        return Value(x < 0 ? static_cast<int64_t>(0 - static_cast<uint64_t>(x)) : x);
    }
    return Value(std::fabs(toNumber(args[0], "abs")));
}

Value nativeSign(Caller&, std::span<Value> args) {
    const double x = toNumber(args[0], "sign");
    if (args[0].isInt()) return Value(int64_t{args[0].asInt() > 0 ? 1 : args[0].asInt() < 0 ? -1 : 0});
    return Value(int64_t{x > 0 ? 1 : x < 0 ? -1 : 0});
}

Value nativeClamp(Caller&, std::span<Value> args) {
    const double x = toNumber(args[0], "clamp");
    const double low = toNumber(args[1], "clamp");
    const double high = toNumber(args[2], "clamp");
    if (args[0].isInt() && args[1].isInt() && args[2].isInt()) {
        // Compared exactly, so that integers above 2^53 are not disturbed.
        const int64_t xi = args[0].asInt();
        const int64_t lowi = args[1].asInt();
        const int64_t highi = args[2].asInt();
        if (lowi > highi) throw RuntimeError("clamp: low must be <= high");
        return Value(xi < lowi ? lowi : xi > highi ? highi : xi);
    }
    if (low > high) throw RuntimeError("clamp: low must be <= high");
    return Value(x < low ? low : x > high ? high : x);
}

Value nativeSqrt(Caller&, std::span<Value> args) {
    return floatResult(args, "sqrt", [](double x) { return std::sqrt(x); });
}
Value nativeExp(Caller&, std::span<Value> args) {
    return floatResult(args, "exp", [](double x) { return std::exp(x); });
}
Value nativeSin(Caller&, std::span<Value> args) {
    return floatResult(args, "sin", [](double x) { return std::sin(x); });
}
Value nativeCos(Caller&, std::span<Value> args) {
    return floatResult(args, "cos", [](double x) { return std::cos(x); });
}
Value nativeTan(Caller&, std::span<Value> args) {
    return floatResult(args, "tan", [](double x) { return std::tan(x); });
}

Value nativePow(Caller&, std::span<Value> args) {
    const double base = toNumber(args[0], "pow");
    const double exponent = toNumber(args[1], "pow");
    return Value(std::pow(base, exponent));
}

Value nativeLog(Caller&, std::span<Value> args) {
    const double x = toNumber(args[0], "log");
    if (args.size() == 1) return Value(std::log(x));
    const double base = toNumber(args[1], "log");
    return Value(std::log(x) / std::log(base));
}

Value nativeMin(Caller&, std::span<Value> args) { return extreme(args, "min", Extreme::Smallest); }
Value nativeMax(Caller&, std::span<Value> args) { return extreme(args, "max", Extreme::Largest); }

Value nativeRandom(Caller&, std::span<Value>) { return Value(static_cast<double>(generator("random")()) * 0x1p-64); }

Value nativeRandint(Caller&, std::span<Value> args) {
    const int64_t low = integerArgument(args[0], "randint");
    const int64_t high = integerArgument(args[1], "randint");
    if (low > high) throw RuntimeError("randint: low must be <= high");
    std::mt19937_64& source = generator("randint");
    const uint64_t span = static_cast<uint64_t>(high) - static_cast<uint64_t>(low) + 1;
    if (span == 0) return Value(static_cast<int64_t>(static_cast<uint64_t>(low) + source()));
    // Multiply and reject: the high word of x * span is uniform once the
    // biased low words are thrown away.
    unsigned __int128 product = static_cast<unsigned __int128>(source()) * span;
    if (static_cast<uint64_t>(product) < span) {
        const uint64_t threshold = (0 - span) % span;
        while (static_cast<uint64_t>(product) < threshold) {
            product = static_cast<unsigned __int128>(source()) * span;
        }
    }
    return Value(static_cast<int64_t>(static_cast<uint64_t>(low) + static_cast<uint64_t>(product >> 64)));
}

Value nativeClock(Caller&, std::span<Value>) {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
    return Value(static_cast<double>(nanoseconds) / 1e9);
}

}  // namespace velmor
