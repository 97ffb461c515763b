#include "measured/touchstone_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <complex>
#include <optional>

#include "files/user_file.h"

namespace veltrix {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A magnitude of exactly 0 would be an infinite loss.
double LossDb(double magnitude) { return std::min(300.0, -20.0 * std::log10(magnitude)); }

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (std::isspace(static_cast<unsigned char>(line[i])) || line[i] == ',')) ++i;
        size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != ',') ++i;
        if (i > start) words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

std::optional<double> Number(const std::string& word) {
    double value = 0.0;
    const char* end = word.data() + word.size();
    const char* begin = word.data();
    if (begin != end && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

struct Reader {
    std::string name;
    MeasuredRead result;
    int line = 0;

    MeasuredRead Fail(int at, const std::string& what) {
        MeasuredRead failed;
        failed.Problem = EscapedForMessage(name) + ":" + std::to_string(at) + ": " + what;
        return failed;
    }
};

}  // namespace

std::vector<double> GroupDelayNs(const std::vector<double>& f, const std::vector<double>& phase) {
    const size_t n = f.size();
    std::vector<double> delay(n, 0.0);
    if (n < 2) return delay;
    for (size_t i = 0; i < n; ++i) {
        const size_t a = i == 0 ? 0 : i - 1;
        const size_t b = i + 1 == n ? n - 1 : i + 1;
        // phase in radians over MHz: -dphi/domega in microseconds, times 1000 for ns
        delay[i] = -(phase[b] - phase[a]) / (2.0 * kPi * (f[b] - f[a])) * 1000.0;
    }
    return delay;
}

MeasuredRead ParseTouchstone(std::string_view text, const std::string& name) {
    Reader r{name, {}, 0};
    const std::string lowerName = Lower(name);
    int ports = 0;
    if (lowerName.size() >= 4 && lowerName.compare(lowerName.size() - 4, 4, ".s1p") == 0) ports = 1;
    if (lowerName.size() >= 4 && lowerName.compare(lowerName.size() - 4, 4, ".s2p") == 0) ports = 2;
    bool version2 = false;
    bool optionSeen = false;
    bool inData = false;
    bool ended = false;
    bool order12First = false;
    int declaredFrequencies = -1;
    double unitToMhz = 1000.0;
    std::string format = "ma";
    std::vector<double> values;
    std::vector<int> valueLines;
    int lastLine = 0;
    bool expectReference = false;

    size_t pos = 0;
    int lineNo = 0;
    while (pos <= text.size() && !ended) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view raw = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNo;
        if (raw.find('\0') != std::string_view::npos) return r.Fail(lineNo, "not a text file");
        const size_t bang = raw.find('!');
        if (bang != std::string_view::npos) raw = raw.substr(0, bang);
        const std::vector<std::string> words = Words(raw);
        if (words.empty()) {
            if (eol == text.size()) break;
            continue;
        }
        lastLine = lineNo;
        const std::string first = Lower(words[0]);
        if (first[0] == '[') {
            std::string keyword = Lower(raw);
            keyword.erase(0, keyword.find('['));
            const size_t close = keyword.find(']');
            if (close == std::string::npos) return r.Fail(lineNo, "unclosed keyword");
            const std::string key = keyword.substr(0, close + 1);
            const std::vector<std::string> rest = Words(std::string_view(raw).substr(raw.find(']') + 1));
            expectReference = false;
            if (key == "[version]") {
                if (rest.empty() || (rest[0] != "2.0" && rest[0] != "2.1"))
                    return r.Fail(lineNo, "unsupported Touchstone version");
                version2 = true;
            } else if (!version2) {
                return r.Fail(lineNo, "keyword " + key + " before [Version]");
            } else if (key == "[number of ports]") {
                const auto v = rest.empty() ? std::nullopt : Number(rest[0]);
                if (!v || (*v != 1.0 && *v != 2.0))
                    return r.Fail(lineNo, "only 1- and 2-port files can be compared");
                ports = static_cast<int>(*v);
            } else if (key == "[two-port data order]") {
                const std::string order = rest.empty() ? "" : Lower(rest[0]);
                if (order != "12_21" && order != "21_12") return r.Fail(lineNo, "bad two-port data order");
                order12First = order == "12_21";
            } else if (key == "[number of frequencies]") {
                const auto v = rest.empty() ? std::nullopt : Number(rest[0]);
                if (!v || *v < 1 || *v != std::floor(*v)) return r.Fail(lineNo, "bad number of frequencies");
                declaredFrequencies = static_cast<int>(*v);
            } else if (key == "[reference]") {
                for (const std::string& w : rest) {
                    const auto v = Number(w);
                    if (!v) return r.Fail(lineNo, "bad number '" + EscapedForMessage(w) + "'");
                    if (*v != 50.0) return r.Fail(lineNo, "reference impedance is not 50 ohm");
                }
                expectReference = rest.empty();
            } else if (key == "[network data]") {
                if (!optionSeen) return r.Fail(lineNo, "[Network Data] before the option line");
                if (ports == 0) return r.Fail(lineNo, "[Number of Ports] missing");
                inData = true;
            } else if (key == "[end]") {
                ended = true;
            } else if (key == "[noise data]") {
                return r.Fail(lineNo, "noise data is not supported");
            } else if (key == "[matrix format]" || key == "[mixed-mode order]") {
                if (key == "[mixed-mode order]") return r.Fail(lineNo, "mixed-mode data is not supported");
            }
            continue;
        }
        if (first[0] == '#') {
            if (optionSeen) continue;  // later option lines are ignored
            optionSeen = true;
            std::vector<std::string> opts;
            if (first.size() > 1) opts.push_back(first.substr(1));
            for (size_t i = 1; i < words.size(); ++i) opts.push_back(Lower(words[i]));
            for (size_t i = 0; i < opts.size(); ++i) {
                const std::string& o = opts[i];
                if (o == "hz")
                    unitToMhz = 1e-6;
                else if (o == "khz")
                    unitToMhz = 1e-3;
                else if (o == "mhz")
                    unitToMhz = 1.0;
                else if (o == "ghz")
                    unitToMhz = 1000.0;
                else if (o == "s") {
                } else if (o == "y" || o == "z" || o == "h" || o == "g") {
                    return r.Fail(lineNo, "only S parameters are supported, not " + words[0].substr(0, 0) +
                                              static_cast<char>(std::toupper(o[0])) + " parameters");
                } else if (o == "db" || o == "ma" || o == "ri") {
                    format = o;
                } else if (o == "r") {
                    if (i + 1 >= opts.size()) return r.Fail(lineNo, "reference impedance missing after R");
                    const auto v = Number(opts[++i]);
                    if (!v) return r.Fail(lineNo, "bad number '" + EscapedForMessage(opts[i]) + "'");
                    if (*v != 50.0) return r.Fail(lineNo, "reference impedance is not 50 ohm");
                } else {
                    return r.Fail(lineNo, "unknown option '" + EscapedForMessage(o) + "'");
                }
            }
            continue;
        }
        if (expectReference) {
            for (const std::string& w : words) {
                const auto v = Number(w);
                if (!v) return r.Fail(lineNo, "bad number '" + EscapedForMessage(w) + "'");
                if (*v != 50.0) return r.Fail(lineNo, "reference impedance is not 50 ohm");
            }
            expectReference = false;
            continue;
        }
        if (version2 && !inData) return r.Fail(lineNo, "data before [Network Data]");
        if (!optionSeen) return r.Fail(lineNo, "data before the option line");
        if (ports == 0) return r.Fail(lineNo, "the port count is unknown: name the file .s1p or .s2p");
        for (const std::string& w : words) {
            const auto v = Number(w);
            if (!v) return r.Fail(lineNo, "bad number '" + EscapedForMessage(w.substr(0, 40)) + "'");
            values.push_back(*v);
            valueLines.push_back(lineNo);
        }
        if (eol == text.size()) break;
    }
    if (values.empty()) return r.Fail(std::max(lastLine, 1), "no network data");
    if (version2 && !ended) return r.Fail(lastLine, "[End] missing");

    const size_t perRow = ports == 1 ? 3 : 9;
    if (values.size() % perRow != 0) {
        const size_t rowStart = values.size() - values.size() % perRow;
        return r.Fail(valueLines.back(), "wrong count of values: the frequency at line " +
                                             std::to_string(valueLines[rowStart]) + " has " +
                                             std::to_string(values.size() - rowStart - 1) + " values, " +
                                             std::to_string(perRow - 1) + " expected");
    }
    const size_t rows = values.size() / perRow;
    if (declaredFrequencies >= 0 && static_cast<size_t>(declaredFrequencies) != rows)
        return r.Fail(lastLine, "[Number of Frequencies] is " + std::to_string(declaredFrequencies) +
                                    ", the data has " + std::to_string(rows));

    auto complexOf = [&](double a, double b) {
        if (format == "ri") return std::complex<double>(a, b);
        const double mag = format == "db" ? std::pow(10.0, a / 20.0) : a;
        return std::polar(mag, b * kPi / 180.0);
    };
    MeasuredTrace& t = r.result.Trace;
    t.Ports = ports;
    std::vector<double> phase;
    for (size_t row = 0; row < rows; ++row) {
        const double* v = &values[row * perRow];
        const int at = valueLines[row * perRow];
        const double f = v[0] * unitToMhz;
        if (!(f >= 0.0)) return r.Fail(at, "negative frequency");
        if (!t.FrequenciesMhz.empty() && !(f > t.FrequenciesMhz.back()))
            return r.Fail(at, "frequencies are not increasing");
        if (format == "ma" && (v[1] < 0.0 || (ports == 2 && v[3] < 0.0)))
            return r.Fail(at, "negative magnitude");
        t.FrequenciesMhz.push_back(f);
        const std::complex<double> s11 = complexOf(v[1], v[2]);
        t.ReturnLossDb.push_back(LossDb(std::abs(s11)));
        if (ports == 2) {
            // v1.1 and 21_12: S11 S21 S12 S22; 12_21: S11 S12 S21 S22
            const size_t k = order12First ? 5 : 3;
            const std::complex<double> s21 = complexOf(v[k], v[k + 1]);
            t.AttenuationDb.push_back(LossDb(std::abs(s21)));
            double p = std::arg(s21);
            if (!phase.empty()) {
                while (p - phase.back() > kPi) p -= 2.0 * kPi;
                while (p - phase.back() < -kPi) p += 2.0 * kPi;
            }
            phase.push_back(p);
        }
    }
    if (ports == 2) t.DelayNs = GroupDelayNs(t.FrequenciesMhz, phase);
    r.result.Ok = true;
    return r.result;
}

MeasuredRead ReadTouchstoneFile(const std::string& path) {
    const std::optional<std::string> text = ReadRegularFile(path, kMaxTouchstoneBytes + 1);
    if (!text) {
        MeasuredRead failed;
        failed.Problem = EscapedForMessage(path) + ":0: cannot be read (not a readable regular file)";
        return failed;
    }
    if (text->size() > kMaxTouchstoneBytes) {
        MeasuredRead failed;
        failed.Problem = EscapedForMessage(path) + ":0: larger than 64 MiB";
        return failed;
    }
    return ParseTouchstone(*text, path);
}

}  // namespace veltrix
