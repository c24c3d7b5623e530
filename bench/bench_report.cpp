// The table: every figure beside its reference from the same run, the ratio, the target and whether
// it was met.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "benches.h"

namespace kestul::bench {

namespace {

// GetProcessTimes under Wine advances in 10 ms steps; a difference below one step is not a difference.
constexpr double kCpuResolutionMs = 10.0;

struct Row {
  std::string benchmark, measure, kestul, reference, referenceValue, ratio, target, result;
};

class Figures {
 public:
  explicit Figures(const std::wstring& path) {
    std::ifstream in{std::filesystem::path(path)};
    std::string line;
    while (std::getline(in, line)) {
      const auto last = line.rfind(',');
      if (last == std::string::npos) continue;
      values_[line.substr(0, last)] = std::stod(line.substr(last + 1));
    }
  }
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  double Get(const std::string& key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? -1 : it->second;
  }

 private:
  std::map<std::string, double> values_;
};

std::string Fixed(double value, int decimals = 2) {
  if (value < 0) return "n/a";
  char text[64];
  std::snprintf(text, sizeof(text), "%.*f", decimals, value);
  return text;
}

std::string Ratio(double value, double reference) {
  if (value < 0 || reference <= 0) return "n/a";
  return Fixed(value / reference) + "x";
}

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

void CadenceRows(const Figures& f, int interval, std::vector<Row>& rows) {
  const std::string b = "cadence-" + std::to_string(interval) + ",";
  if (!f.Has(b + "kestul,offset-median-ms")) return;
  const std::string name = "click cadence " + std::to_string(interval) + " ms";
  const double km = f.Get(b + "kestul,offset-median-ms"), xm = f.Get(b + "xdotool,offset-median-ms");
  const double kp = f.Get(b + "kestul,offset-p99-ms"), xp = f.Get(b + "xdotool,offset-p99-ms");
  rows.push_back({name, "period - interval, median (ms)", Fixed(km), "xdotool", Fixed(xm), Ratio(km, xm),
                  "<= 1 ms and <= xdotool", Verdict(km <= 1.0 && (xm < 0 || km <= xm))});
  rows.push_back({name, "period - interval, p99 (ms)", Fixed(kp), "xdotool", Fixed(xp), Ratio(kp, xp),
                  "<= 3 ms and <= xdotool", Verdict(kp <= 3.0 && (xp < 0 || kp <= xp))});
  if (f.Has(b + "waitloop,offset-median-ms")) {
    const double wm = f.Get(b + "waitloop,offset-median-ms"), wp = f.Get(b + "waitloop,offset-p99-ms");
    rows.push_back({name, "period - interval, median / p99 (ms), against the floor",
                    Fixed(km) + " / " + Fixed(kp), "bare wait loop", Fixed(wm) + " / " + Fixed(wp),
                    Ratio(km, wm), "", "info"});
  }
  rows.push_back({name, "press to release, median (ms)", Fixed(f.Get(b + "kestul,hold-median-ms")), "xdotool",
                  Fixed(f.Get(b + "xdotool,hold-median-ms")), "", "", "info"});
  const double outOfStep = f.Get(b + "kestul,out-of-step") + f.Get(b + "kestul,unpaired");
  std::string kestul = Fixed(outOfStep, 0) + " of " + Fixed(f.Get(b + "kestul,periods"), 0) + " periods";
  bool clean = outOfStep == 0;
  if (f.Has(b + "kestul,accounted-injected")) {
    const double lost = f.Get(b + "kestul,accounted-lost"), doubled = f.Get(b + "kestul,accounted-doubled");
    kestul += "; counted " + Fixed(lost, 0) + " lost / " + Fixed(doubled, 0) + " doubled of " +
              Fixed(f.Get(b + "kestul,accounted-injected"), 0);
    clean = clean && lost == 0 && doubled == 0;
  }
  const std::string xdotool = Fixed(f.Get(b + "xdotool,accounted-lost"), 0) + " lost / " +
                              Fixed(f.Get(b + "xdotool,accounted-doubled"), 0) + " doubled of " +
                              Fixed(f.Get(b + "xdotool,accounted-injected"), 0);
  rows.push_back({name, "clicks lost or doubled", kestul, "xdotool", xdotool, "", "none", Verdict(clean)});
}

void StopRows(const Figures& f, std::vector<Row>& rows) {
  const double rm = f.Get("stop-reference,minimal,median-ms"), rp = f.Get("stop-reference,minimal,p99-ms");
  for (const char* key : {"f9", "f8"}) {
    for (const int interval : {60000, 20}) {
      const std::string b = std::string("stop-") + key + "-" + std::to_string(interval) + ",kestul,";
      if (!f.Has(b + "p99-ms")) continue;
      const double m = f.Get(b + "median-ms"), p = f.Get(b + "p99-ms");
      const std::string name = std::string("stop latency ") + (key[1] == '9' ? "F9" : "F8 (start/stop key)") +
                               " at " + std::to_string(interval) + " ms";
      rows.push_back({name,
                      "key to idle caption, median / p99 (ms), " + Fixed(f.Get(b + "samples"), 0) + " stops",
                      Fixed(m) + " / " + Fixed(p), "bare window, key to title", Fixed(rm) + " / " + Fixed(rp),
                      Ratio(p, rp), "p99 < 15 ms", Verdict(p < 15.0)});
    }
  }
}

void CostRows(const Figures& f, std::vector<Row>& rows) {
  if (f.Has("cpu-idle,kestul,cpu-ms")) {
    const double k = f.Get("cpu-idle,kestul,cpu-ms"), m = f.Get("cpu-idle,minimal,cpu-ms");
    const std::string seconds = Fixed(f.Get("cpu-idle,kestul,seconds"), 0);
    rows.push_back({"idle cost", "CPU time over " + seconds + " s idle (ms)", Fixed(k, 0), "bare window",
                    Fixed(m, 0), Ratio(k, m), "<= 1.2x (+ one 10 ms tick)",
                    Verdict(k <= 1.2 * m + kCpuResolutionMs)});
    const double c = f.Get("cpu-clicking-1000,kestul,cpu-ms"), cm = f.Get("cpu-clicking-1000,minimal,cpu-ms");
    rows.push_back({"idle cost",
                    "CPU time over " + Fixed(f.Get("cpu-clicking-1000,kestul,seconds"), 0) +
                        " s clicking at 1000 ms (ms), " + Fixed(f.Get("cpu-clicking-1000,kestul,clicks"), 0) +
                        " clicks",
                    Fixed(c, 0), "bare window, idle", Fixed(cm, 0), Ratio(c, cm), "", "info"});
  }
  if (f.Has("startup,kestul,median-ms")) {
    const double k = f.Get("startup,kestul,median-ms"), m = f.Get("startup,minimal,median-ms");
    rows.push_back({"start-up",
                    "launch to visible window, median / p99 (ms), " +
                        Fixed(f.Get("startup,kestul,samples"), 0) + " launches",
                    Fixed(k, 0) + " / " + Fixed(f.Get("startup,kestul,p99-ms"), 0), "bare window",
                    Fixed(m, 0) + " / " + Fixed(f.Get("startup,minimal,p99-ms"), 0), Ratio(k, m),
                    "median <= 1.2x", Verdict(m > 0 && k <= 1.2 * m)});
    if (f.Has("startup,minimal-dlls,median-ms")) {
      const double d = f.Get("startup,minimal-dlls,median-ms");
      rows.push_back({"start-up", "the same, against a bare window loading the same system DLLs",
                      Fixed(k, 0) + " / " + Fixed(f.Get("startup,kestul,p99-ms"), 0), "bare window + DLLs",
                      Fixed(d, 0) + " / " + Fixed(f.Get("startup,minimal-dlls,p99-ms"), 0), Ratio(k, d), "",
                      "info"});
    }
  }
  if (f.Has("exe-size,kestul,kib")) {
    const double k = f.Get("exe-size,kestul,kib"), m = f.Get("exe-size,minimal,kib");
    rows.push_back(
        {"footprint", "exe size (KiB)", Fixed(k, 0), "bare window", Fixed(m, 0), Ratio(k, m), "", "info"});
  }
  if (f.Has("memory-startup,kestul,private-kib")) {
    for (const char* kind : {"private-kib", "working-set-kib"}) {
      const std::string label = kind[0] == 'p' ? "private bytes" : "working set";
      const double k = f.Get(std::string("memory-startup,kestul,") + kind);
      const double m = f.Get(std::string("memory-startup,minimal,") + kind);
      rows.push_back({"footprint", label + " after start-up (KiB)", Fixed(k, 0), "bare window", Fixed(m, 0),
                      Ratio(k, m), "", "info"});
    }
  }
  if (f.Has("memory-clicked,kestul,private-kib")) {
    const double warm = f.Get("memory-warm,kestul,private-kib");
    const double end = f.Get("memory-clicked,kestul,private-kib");
    const double highest = f.Get("memory-clicked,kestul,highest-private-kib");
    const std::string span = Fixed(f.Get("memory-clicked,kestul,seconds"), 0) + " s clicking at 20 ms (" +
                             Fixed(f.Get("memory-clicked,kestul,clicks"), 0) + " clicks)";
    rows.push_back({"footprint", "private bytes after " + span + " (KiB)", Fixed(end, 0), "bare window",
                    Fixed(f.Get("memory-clicked,minimal,private-kib"), 0), "", "", "info"});
    rows.push_back({"footprint", "working set after " + span + " (KiB)",
                    Fixed(f.Get("memory-clicked,kestul,working-set-kib"), 0), "bare window",
                    Fixed(f.Get("memory-clicked,minimal,working-set-kib"), 0), "", "", "info"});
    rows.push_back({"footprint", "private bytes growth after the first 10 s, end / highest sample (KiB)",
                    Fixed(end - warm, 0) + " / " + Fixed(highest - warm, 0), "", "", "", "no growth",
                    Verdict(end - warm <= 0 && highest - warm <= 0)});
  }
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char ch : text) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return quoted + "\"";
}

}  // namespace

int Report(const std::wstring& rawPath, const std::wstring& csvPath, const std::wstring& markdownPath,
           const std::wstring& notesPath) {
  const Figures figures(rawPath);
  std::vector<Row> rows;
  for (const int interval : {20, 100, 1000}) CadenceRows(figures, interval, rows);
  StopRows(figures, rows);
  CostRows(figures, rows);

  std::ofstream csv{std::filesystem::path(csvPath), std::ios::trunc};
  csv << "benchmark,measure,kestul,reference,reference_value,ratio,target,result\n";
  std::ofstream md{std::filesystem::path(markdownPath), std::ios::trunc};
  std::ifstream notes{std::filesystem::path(notesPath)};
  md << notes.rdbuf() << "\n";
  md << "| benchmark | measure | KESTUL | reference | reference value | ratio | target | result |\n";
  md << "|---|---|---|---|---|---|---|---|\n";
  int missed = 0;
  for (const Row& r : rows) {
    csv << CsvField(r.benchmark) << ',' << CsvField(r.measure) << ',' << CsvField(r.kestul) << ','
        << CsvField(r.reference) << ',' << CsvField(r.referenceValue) << ',' << CsvField(r.ratio) << ','
        << CsvField(r.target) << ',' << CsvField(r.result) << "\n";
    md << "| " << r.benchmark << " | " << r.measure << " | " << r.kestul << " | " << r.reference << " | "
       << r.referenceValue << " | " << r.ratio << " | " << r.target << " | " << r.result << " |\n";
    std::printf("%-34s %-62s %-22s %-26s %-22s %-8s %-26s %s\n", r.benchmark.c_str(), r.measure.c_str(),
                r.kestul.c_str(), r.reference.c_str(), r.referenceValue.c_str(), r.ratio.c_str(),
                r.target.c_str(), r.result.c_str());
    missed += r.result == "MISSED";
  }
  std::printf("%zu rows, %d targets missed\n", rows.size(), missed);
  return rows.empty() ? 1 : 0;
}

}  // namespace kestul::bench
