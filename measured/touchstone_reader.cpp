#include "measured/touchstone_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <complex>
#include <cstring>
#include <optional>
#include <utility>

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

// isspace's set in the C locale, and the comma some writers put between values.
bool Separator(char c) { return c == ' ' || c == ',' || c == '\t' || (c >= '\n' && c <= '\r'); }

// The next word of text from pos, which it moves past; "" at the end.
std::string_view NextWord(std::string_view text, size_t& pos) {
    while (pos < text.size() && Separator(text[pos])) ++pos;
    const size_t start = pos;
    while (pos < text.size() && !Separator(text[pos])) ++pos;
    return text.substr(start, pos - start);
}

std::string_view Trimmed(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && Separator(text[start])) ++start;
    return text.substr(start);
}

std::optional<double> Number(std::string_view word) {
    double value = 0.0;
    const char* end = word.data() + word.size();
    const char* begin = word.data();
    if (begin != end && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A count as the file states it: digits only, read whole, so a count beyond any int is still compared.
std::optional<std::uint64_t> Count(std::string_view word) {
    std::uint64_t value = 0;
    const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || ec != std::errc() || ptr != word.data() + word.size()) return std::nullopt;
    return value;
}

// The user's text as a message quotes it: at most 40 characters, never cut inside a character.
std::string Quoted(std::string_view text) {
    constexpr size_t kShown = 40;
    if (text.size() <= kShown) return "'" + EscapedForMessage(text) + "'";
    size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80) --cut;
    return "'" + EscapedForMessage(text.substr(0, cut)) + "...'";
}

enum class ValueFormat { Ma, Db, Ri };
enum class MatrixFormat { Full, Upper, Lower };

// Everything the reader knows between two lines of the file.
struct ParseState {
    std::string name;
    std::uint64_t line = 0;
    std::uint64_t lastLine = 0;       // the last line that held anything
    std::uint64_t lastValueLine = 0;  // the last line that held network data
    int ports = 0;                    // from the name (1.1) or [Number of Ports]
    int namedPorts = 0;               // N of a .sNp name
    bool version2 = false;
    bool optionSeen = false;
    bool inData = false;
    bool inNoise = false;
    bool ended = false;
    bool order12First = false;
    MatrixFormat matrix = MatrixFormat::Full;
    std::optional<std::uint64_t> declaredFrequencies;
    double unitToMhz = 1000.0;
    ValueFormat format = ValueFormat::Ma;
    int referencesWanted = 0;  // [Reference] values still to come on the following lines
    std::vector<double> row;   // the frequency being read, as it continues over lines
    std::uint64_t rowLine = 0;
    std::vector<double> lineValues;
    std::vector<double> phase;  // S21's, unwrapped
    MeasuredTrace trace;
    std::string problem;
    std::string notice;

    bool Fail(std::uint64_t at, const std::string& what) {
        problem = EscapedForMessage(name) + ":" + std::to_string(at) + ": " + what;
        return false;
    }
    size_t PerRow() const {
        if (ports == 1) return 3;
        return matrix == MatrixFormat::Full ? 9 : 7;
    }
    void SkipNoise() {
        inNoise = true;
        notice = EscapedForMessage(name) + ":" + std::to_string(line) + ": noise data skipped";
    }
};

bool ReferenceValues(ParseState& s, std::string_view text) {
    size_t pos = 0;
    for (std::string_view w = NextWord(text, pos); !w.empty(); w = NextWord(text, pos)) {
        const auto v = Number(w);
        if (!v) return s.Fail(s.line, "bad number " + Quoted(w));
        if (*v != 50.0) return s.Fail(s.line, "reference impedance is not 50 ohm");
        if (s.referencesWanted > 0) --s.referencesWanted;
    }
    return true;
}

bool OnVersion(ParseState& s, std::string_view rest) {
    size_t pos = 0;
    const std::string_view v = NextWord(rest, pos);
    if (v != "2.0" && v != "2.1") return s.Fail(s.line, "unsupported Touchstone version");
    s.version2 = true;
    return true;
}

bool OnNumberOfPorts(ParseState& s, std::string_view rest) {
    size_t pos = 0;
    const auto n = Count(NextWord(rest, pos));
    if (!n || (*n != 1 && *n != 2)) return s.Fail(s.line, "only 1- and 2-port files can be compared");
    s.ports = static_cast<int>(*n);
    return true;
}

bool OnTwoPortDataOrder(ParseState& s, std::string_view rest) {
    size_t pos = 0;
    const std::string order = Lower(NextWord(rest, pos));
    if (order != "12_21" && order != "21_12") return s.Fail(s.line, "bad two-port data order");
    s.order12First = order == "12_21";
    return true;
}

bool OnNumberOfFrequencies(ParseState& s, std::string_view rest) {
    size_t pos = 0;
    const auto n = Count(NextWord(rest, pos));
    if (!n || *n < 1) return s.Fail(s.line, "bad number of frequencies");
    s.declaredFrequencies = *n;
    return true;
}

bool OnReference(ParseState& s, std::string_view rest) {
    s.referencesWanted = std::max(s.ports, 1);
    return ReferenceValues(s, rest);
}

bool OnMatrixFormat(ParseState& s, std::string_view rest) {
    size_t pos = 0;
    const std::string form = Lower(NextWord(rest, pos));
    if (form == "full") {
        s.matrix = MatrixFormat::Full;
    } else if (form == "upper") {
        s.matrix = MatrixFormat::Upper;
    } else if (form == "lower") {
        s.matrix = MatrixFormat::Lower;
    } else {
        return s.Fail(s.line, "bad matrix format");
    }
    return true;
}

bool OnMixedModeOrder(ParseState& s, std::string_view) {
    return s.Fail(s.line, "mixed-mode data is not supported");
}

bool OnNetworkData(ParseState& s, std::string_view) {
    if (!s.optionSeen) return s.Fail(s.line, "[Network Data] before the option line");
    if (s.ports == 0) return s.Fail(s.line, "[Number of Ports] missing");
    s.inData = true;
    return true;
}

bool OnNoiseData(ParseState& s, std::string_view) {
    s.inData = false;
    s.SkipNoise();
    return true;
}

bool OnEnd(ParseState& s, std::string_view) {
    s.ended = true;
    return true;
}

using KeywordHandler = bool (*)(ParseState&, std::string_view rest);

// Keywords not listed (information blocks, noise frequency counts) are read past.
const std::pair<std::string_view, KeywordHandler> kKeywords[] = {
    {"[version]", OnVersion},
    {"[number of ports]", OnNumberOfPorts},
    {"[two-port data order]", OnTwoPortDataOrder},
    {"[number of frequencies]", OnNumberOfFrequencies},
    {"[reference]", OnReference},
    {"[matrix format]", OnMatrixFormat},
    {"[mixed-mode order]", OnMixedModeOrder},
    {"[network data]", OnNetworkData},
    {"[noise data]", OnNoiseData},
    {"[end]", OnEnd},
};

bool Keyword(ParseState& s, std::string_view text) {
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return s.Fail(s.line, "unclosed keyword");
    const std::string key = Lower(text.substr(0, close + 1));
    s.referencesWanted = 0;
    if (key != "[version]" && !s.version2)
        return s.Fail(s.line, "keyword " + Quoted(key) + " before [Version]");
    for (const auto& [name, handler] : kKeywords)
        if (name == key) return handler(s, text.substr(close + 1));
    return true;
}

bool OptionLine(ParseState& s, std::string_view text) {
    if (s.optionSeen) return true;  // later option lines are ignored
    s.optionSeen = true;
    size_t pos = 1;
    for (std::string_view word = NextWord(text, pos); !word.empty(); word = NextWord(text, pos)) {
        const std::string o = Lower(word.substr(0, 8));
        if (word.size() > 8) {
            return s.Fail(s.line, "unknown option " + Quoted(word));
        } else if (o == "hz") {
            s.unitToMhz = 1e-6;
        } else if (o == "khz") {
            s.unitToMhz = 1e-3;
        } else if (o == "mhz") {
            s.unitToMhz = 1.0;
        } else if (o == "ghz") {
            s.unitToMhz = 1000.0;
        } else if (o == "s") {
        } else if (o == "y" || o == "z" || o == "h" || o == "g") {
            return s.Fail(s.line, std::string("only S parameters are supported, not ") +
                                      static_cast<char>(std::toupper(o[0])) + " parameters");
        } else if (o == "db") {
            s.format = ValueFormat::Db;
        } else if (o == "ma") {
            s.format = ValueFormat::Ma;
        } else if (o == "ri") {
            s.format = ValueFormat::Ri;
        } else if (o == "r") {
            const std::string_view value = NextWord(text, pos);
            if (value.empty()) return s.Fail(s.line, "reference impedance missing after R");
            const auto v = Number(value);
            if (!v) return s.Fail(s.line, "bad number " + Quoted(value));
            if (*v != 50.0) return s.Fail(s.line, "reference impedance is not 50 ohm");
        } else {
            return s.Fail(s.line, "unknown option " + Quoted(word));
        }
    }
    return true;
}

std::complex<double> ComplexOf(ValueFormat format, double a, double b) {
    if (format == ValueFormat::Ri) return {a, b};
    const double magnitude = format == ValueFormat::Db ? std::pow(10.0, a / 20.0) : a;
    return std::polar(magnitude, b * kPi / 180.0);
}

// One whole frequency of network data, into the trace.
bool Row(ParseState& s) {
    const std::vector<double>& v = s.row;
    const std::uint64_t at = s.rowLine;
    MeasuredTrace& t = s.trace;
    if (t.FrequenciesMhz.size() >= kMaxTouchstoneRows)
        return s.Fail(at, "more than " + std::to_string(kMaxTouchstoneRows) + " frequencies");
    const double f = v[0] * s.unitToMhz;
    if (!std::isfinite(f)) return s.Fail(at, "frequency out of range");
    if (!(f >= 0.0)) return s.Fail(at, "negative frequency");
    if (!t.FrequenciesMhz.empty() && !(f > t.FrequenciesMhz.back()))
        return s.Fail(at, "frequencies are not increasing");
    // v1.1, 21_12, Upper (S12 = S21) and Lower: S21 follows S11; 12_21: S11 S12 S21 S22
    const size_t k = s.matrix == MatrixFormat::Full && s.order12First ? 5 : 3;
    if (s.format == ValueFormat::Ma && (v[1] < 0.0 || (s.ports == 2 && v[k] < 0.0)))
        return s.Fail(at, "negative magnitude");
    const double s11 = std::abs(ComplexOf(s.format, v[1], v[2]));
    if (!std::isfinite(s11)) return s.Fail(at, "value out of range");
    t.FrequenciesMhz.push_back(f);
    t.ReturnLossDb.push_back(LossDb(s11));
    if (s.ports == 2) {
        const std::complex<double> s21 = ComplexOf(s.format, v[k], v[k + 1]);
        if (!std::isfinite(std::abs(s21))) return s.Fail(at, "value out of range");
        t.AttenuationDb.push_back(LossDb(std::abs(s21)));
        double p = std::arg(s21);
        // The whole turns to the previous point at once, however many the phase has made.
        if (!s.phase.empty()) p -= 2.0 * kPi * std::round((p - s.phase.back()) / (2.0 * kPi));
        s.phase.push_back(p);
    }
    s.row.clear();
    return true;
}

std::string WrongCount(const ParseState& s, size_t values) {
    return "wrong count of values: the frequency at line " + std::to_string(s.rowLine) + " has " +
           std::to_string(values) + " values, " + std::to_string(s.PerRow()) + " expected";
}

bool DataLine(ParseState& s, std::string_view text) {
    if (s.version2 && !s.inData) return s.Fail(s.line, "data before [Network Data]");
    if (!s.optionSeen) return s.Fail(s.line, "data before the option line");
    if (s.ports == 0) {
        if (s.namedPorts > 2) return s.Fail(s.line, "only 1- and 2-port files can be compared");
        return s.Fail(s.line, "the port count is unknown: name the file .s1p or .s2p");
    }
    s.lineValues.clear();
    size_t pos = 0;
    for (std::string_view w = NextWord(text, pos); !w.empty(); w = NextWord(text, pos)) {
        const auto v = Number(w);
        if (!v) return s.Fail(s.line, "bad number " + Quoted(w));
        s.lineValues.push_back(*v);
    }
    const size_t perRow = s.PerRow();
    const size_t n = s.lineValues.size();
    if (!s.version2) {
        // 1.1: a frequency starts its line and its pairs may continue on the next lines; a lower
        // frequency after the network data starts the noise data.
        if (s.row.empty()) {
            if (s.ports == 2 && !s.trace.FrequenciesMhz.empty() &&
                s.lineValues[0] * s.unitToMhz < s.trace.FrequenciesMhz.back()) {
                s.SkipNoise();
                return true;
            }
            s.rowLine = s.line;
            if (n % 2 == 0 || n > perRow) return s.Fail(s.line, WrongCount(s, n));
        } else if (n % 2 != 0 || s.row.size() + n > perRow) {
            return s.Fail(s.line, WrongCount(s, n % 2 != 0 ? s.row.size() : s.row.size() + n));
        }
    }
    s.lastValueLine = s.line;
    for (const double v : s.lineValues) {
        if (s.row.empty()) s.rowLine = s.line;
        s.row.push_back(v);
        if (s.row.size() == perRow && !Row(s)) return false;
    }
    return true;
}

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

bool Line(ParseState& s, std::string_view raw) {
    ++s.line;
    if (s.line == 1 && raw.substr(0, kByteOrderMark.size()) == kByteOrderMark) raw.remove_prefix(3);
    if (s.ended) return true;
    if (raw.find('\0') != std::string_view::npos) return s.Fail(s.line, "not a text file");
    const std::string_view text = Trimmed(raw.substr(0, raw.find('!')));
    if (text.empty()) return true;
    s.lastLine = s.line;
    if (text[0] == '[') return Keyword(s, text);
    if (text[0] == '#') return OptionLine(s, text);
    if (s.referencesWanted > 0) return ReferenceValues(s, text);
    if (s.inNoise) return true;
    return DataLine(s, text);
}

ParseState StartState(const std::string& name) {
    ParseState s;
    s.name = name;
    const std::string lowerName =
        Lower(name.substr(name.rfind('.') == std::string::npos ? name.size() : name.rfind('.')));
    // .sNp
    if (lowerName.size() >= 4 && lowerName[1] == 's' && lowerName.back() == 'p') {
        const auto n = Count(std::string_view(lowerName).substr(2, lowerName.size() - 3));
        if (n && *n >= 1 && *n <= 99) s.namedPorts = static_cast<int>(*n);
    }
    if (s.namedPorts == 1 || s.namedPorts == 2) s.ports = s.namedPorts;
    return s;
}

MeasuredRead Finish(ParseState& s) {
    MeasuredRead read;
    if (!s.problem.empty()) {
        read.Problem = std::move(s.problem);
        return read;
    }
    MeasuredTrace& t = s.trace;
    if (t.FrequenciesMhz.empty() && s.row.empty()) {
        s.Fail(std::max<std::uint64_t>(s.lastLine, 1), "no network data");
    } else if (s.version2 && !s.ended) {
        s.Fail(s.lastLine, "[End] missing");
    } else if (!s.row.empty()) {
        s.Fail(s.lastValueLine, WrongCount(s, s.row.size()));
    } else if (s.declaredFrequencies && *s.declaredFrequencies != t.FrequenciesMhz.size()) {
        s.Fail(s.lastLine, "[Number of Frequencies] is " + std::to_string(*s.declaredFrequencies) +
                               ", the data has " + std::to_string(t.FrequenciesMhz.size()));
    }
    if (!s.problem.empty()) {
        read.Problem = std::move(s.problem);
        return read;
    }
    t.Ports = s.ports;
    if (s.ports == 2) {
        t.DelayNs = GroupDelayNs(t.FrequenciesMhz, s.phase);
        t.PhaseRad = std::move(s.phase);
    }
    read.Ok = true;
    read.Trace = std::move(t);
    read.Notice = std::move(s.notice);
    return read;
}

// Cuts a text that arrives in pieces into lines ended by LF, CR LF or a lone CR.
class LineSplitter {
  public:
    // Calls line(text) for every whole line; false from it stops the splitting.
    template <typename LineFn>
    bool Feed(std::string_view chunk, LineFn&& line) {
        size_t i = 0;
        if (skipLf_ && !chunk.empty()) {
            if (chunk[0] == '\n') i = 1;
            skipLf_ = false;
        }
        while (i < chunk.size()) {
            size_t j = i;
            while (j < chunk.size() && chunk[j] != '\n' && chunk[j] != '\r') ++j;
            if (j == chunk.size()) {
                carry_.append(chunk.substr(i));
                break;
            }
            bool going = true;
            if (carry_.empty()) {
                going = line(chunk.substr(i, j - i));
            } else {
                carry_.append(chunk.substr(i, j - i));
                going = line(std::string_view(carry_));
                carry_.clear();
            }
            if (!going) return false;
            if (chunk[j] == '\r') {
                if (j + 1 == chunk.size()) {
                    skipLf_ = true;
                } else if (chunk[j + 1] == '\n') {
                    ++j;
                }
            }
            i = j + 1;
        }
        return true;
    }

    template <typename LineFn>
    bool Finish(LineFn&& line) {
        if (carry_.empty()) return true;
        const bool going = line(std::string_view(carry_));
        carry_.clear();
        return going;
    }

  private:
    std::string carry_;
    bool skipLf_ = false;
};

MeasuredRead Unreadable(const std::string& path, const std::string& reason) {
    MeasuredRead failed;
    failed.Problem = EscapedForMessage(path) + ":0: cannot be read: " + reason;
    return failed;
}

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

namespace {

// Least-squares slope of phase over f[lo..hi], about the window's own means so that large phases
// and frequencies do not cancel.
double SlopeOver(const std::vector<double>& f, const std::vector<double>& phase, size_t lo, size_t hi) {
    const double n = static_cast<double>(hi - lo + 1);
    double mf = 0.0, mp = 0.0;
    for (size_t k = lo; k <= hi; ++k) {
        mf += f[k];
        mp += phase[k];
    }
    mf /= n;
    mp /= n;
    double sff = 0.0, sfp = 0.0;
    for (size_t k = lo; k <= hi; ++k) {
        sff += (f[k] - mf) * (f[k] - mf);
        sfp += (f[k] - mf) * (phase[k] - mp);
    }
    return sff > 0.0 ? sfp / sff : 0.0;
}

double DelayOfSlope(double radPerMhz) { return -radPerMhz / (2.0 * kPi) * 1000.0; }

}  // namespace

std::vector<double> FittedDelayNs(const std::vector<double>& f, const std::vector<double>& phase,
                                  double halfAperture) {
    const size_t n = f.size();
    std::vector<double> delay(n, 0.0);
    if (n < 2 || phase.size() != n) return delay;
    // Running sums about a fixed origin near each window keep the whole sweep linear in its length;
    // the origin moves with the window so the sums stay small.
    size_t lo = 0, hi = 0;
    double x0 = f[0], y0 = phase[0];
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    const auto add = [&](size_t k, double sign) {
        const double x = f[k] - x0, y = phase[k] - y0;
        sx += sign * x;
        sy += sign * y;
        sxx += sign * x * x;
        sxy += sign * x * y;
    };
    add(0, 1.0);
    for (size_t i = 0; i < n; ++i) {
        const size_t want = std::max<size_t>(i + 1 < n ? i + 1 : i, hi);
        while (hi + 1 < n && (hi < want || f[hi + 1] - f[i] <= halfAperture)) add(++hi, 1.0);
        const size_t least = i == 0 ? 0 : i - 1;
        while (lo < least && f[i] - f[lo] > halfAperture) add(lo++, -1.0);
        if ((i & 1023) == 0) {
            // Re-centre now and then, so that removals never leave a large rounding residue.
            x0 = f[i];
            y0 = phase[i];
            sx = sy = sxx = sxy = 0.0;
            for (size_t k = lo; k <= hi; ++k) add(k, 1.0);
        }
        const double m = static_cast<double>(hi - lo + 1);
        const double vxx = sxx - sx * sx / m;
        const double vxy = sxy - sx * sy / m;
        delay[i] = vxx > 0.0 ? DelayOfSlope(vxy / vxx) : 0.0;
    }
    return delay;
}

double FittedDelayAtNs(const std::vector<double>& f, const std::vector<double>& phase, double at,
                       double halfAperture) {
    const size_t n = f.size();
    if (n < 2 || phase.size() != n || at < f.front() || at > f.back()) return std::nan("");
    size_t lo = std::lower_bound(f.begin(), f.end(), at - halfAperture) - f.begin();
    size_t hi = (std::upper_bound(f.begin(), f.end(), at + halfAperture) - f.begin());
    hi = hi == 0 ? 0 : hi - 1;
    // At least the measured frequencies either side of at.
    const size_t above = std::lower_bound(f.begin(), f.end(), at) - f.begin();
    lo = std::min(lo, above == 0 ? 0 : above - 1);
    hi = std::max(hi, std::min(n - 1, above == 0 ? 1 : above));
    if (hi <= lo) hi = std::min(n - 1, lo + 1);
    return DelayOfSlope(SlopeOver(f, phase, lo, hi));
}

void FitDelays(MeasuredTrace& trace, double centreMhz) {
    if (trace.Ports != 2 || trace.PhaseRad.size() != trace.FrequenciesMhz.size()) return;
    trace.DelayNs = FittedDelayNs(trace.FrequenciesMhz, trace.PhaseRad, kDelayApertureFraction * centreMhz);
}

MeasuredRead ParseTouchstone(std::string_view text, const std::string& name) {
    ParseState s = StartState(name);
    LineSplitter lines;
    const auto line = [&s](std::string_view l) { return Line(s, l); };
    if (lines.Feed(text, line)) lines.Finish(line);
    return Finish(s);
}

MeasuredRead ReadTouchstoneFile(const std::string& path, const TouchstoneProgress& progress) {
    // Not blocking: a FIFO with no writer must not hang the reader before it is refused.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Unreadable(path, std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat st {};
    if (fstat(fd, &st) != 0) return Unreadable(path, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return Unreadable(path, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return Unreadable(path, "not a regular file");
    const auto total = static_cast<std::uint64_t>(st.st_size);

    ParseState s = StartState(path);
    LineSplitter lines;
    const auto line = [&s](std::string_view l) { return Line(s, l); };
    std::vector<char> buffer(256 * 1024);
    std::uint64_t done = 0;
    for (;;) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return Unreadable(path, std::strerror(errno));
        }
        if (got == 0) break;
        done += static_cast<std::uint64_t>(got);
        if (progress && !progress(std::min(done, total), total)) {
            MeasuredRead cancelled;
            cancelled.Cancelled = true;
            return cancelled;
        }
        if (!lines.Feed(std::string_view(buffer.data(), static_cast<size_t>(got)), line)) return Finish(s);
    }
    lines.Finish(line);
    return Finish(s);
}

}  // namespace veltrix
