// Navigation benchmark: the time of one next and one previous step taken through FileRead on contact
// tables of 10,000, 100,000 and 1,000,000 rows, beside the time of exactly the statements that step
// sent (read from the trace) sent bare through libpq on the same connection. Two schemas: (a) the
// contact table's default, ten character varying columns with a PRIMARY KEY on "RAZON_SOCIAL"; (b) the
// same columns with a nullable "RAZON_SOCIAL" and a unique index on it created NULLS FIRST.
// Usage: bench_navigation [ROWS...]   (PG* variables name the server; scripts/bench.sh provides one)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/console/console_desktop.h"
#include "platform/desktop.h"
#include "runtime/access/file_read.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/env/errors.h"
#include "runtime/sql/sql_connect.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_schema.h"
#include "runtime/start/runtime_layers.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 101;
constexpr std::int16_t kTraceOff = 1;
constexpr std::int16_t kTraceSql = 1 | 4;

rt::StrDesc V(const std::string& s) { return rt::StrDesc{s.data(), static_cast<std::uint16_t>(s.size())}; }

std::string Env(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : fallback;
}

bool Exec(const std::string& sql) {
    rt::DynScope scope;
    rt::ErrCode r = rt::SqlExec(V(sql));
    if (r >= rt::kErrFirstFailure) {
        std::fprintf(stderr, "failed (%u): %s\n%s\n", unsigned(r), sql.c_str(), rt::StrToStd(rt::ErrDetail()).c_str());
        return false;
    }
    return true;
}

rt::ErrCode Connect(std::uint8_t flags) {
    std::string host = Env("PGHOST", "localhost"), db = Env("PGDATABASE", "postgres");
    std::string user = Env("PGUSER", ""), password = Env("PGPASSWORD", "");
    return rt::SqlConnect(V(host), V(db), V(user), V(password), flags);
}

std::string Table(char schema, long rows) { return std::string("nav_") + schema + "_" + std::to_string(rows); }
std::string Key(long i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "R%07ld", i);
    return buf;
}

// The table of one schema, filled in one statement.
bool Create(char schema, long rows) {
    std::string t = Table(schema, rows);
    std::string key = schema == 'a' ? "\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY" : "\"RAZON_SOCIAL\" varchar(60)";
    return Exec("DROP TABLE IF EXISTS " + t + ";") &&
           Exec("CREATE TABLE " + t + " (" + key + ", \"NOMBRE\" varchar(60), \"DIRECCION\" varchar(60), \"CP\" varchar(5), "
                "\"POBLACION\" varchar(40), \"TELEFONO\" varchar(20), \"MOVIL\" varchar(20), \"EMAIL\" varchar(60), "
                "\"OTROS\" varchar(60), \"OBSERVACIONES\" varchar(250));") &&
           Exec("INSERT INTO " + t + " SELECT 'R' || lpad(i::text, 7, '0'), 'Nombre ' || i, 'Calle Mayor ' || i, "
                "lpad((i % 100000)::text, 5, '0'), 'Poblacion ' || (i % 500), '600' || i, '700' || i, "
                "'c' || i || '@correo.es', NULL, 'Observaciones del contacto ' || i FROM generate_series(1, " +
                std::to_string(rows) + ") AS i;") &&
           (schema == 'a' || Exec("CREATE UNIQUE INDEX " + t + "_rs ON " + t + " (\"RAZON_SOCIAL\" NULLS FIRST);")) &&
           Exec("ANALYZE " + t + ";");
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

struct Measure {
    double step = 0, bare = 0;
    std::vector<std::string> statements;
};

// The statements the trace file holds (connection lines left out), and the file emptied.
std::vector<std::string> TakeTrace(const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("dbname = ", 0) != 0 && line.rfind("host = ", 0) != 0) out.push_back(line);
    }
    std::ofstream(path, std::ios::trunc).close();
    return out;
}

Measure Step(std::uint8_t file, const std::string& key, std::uint8_t mode, const std::string& trace) {
    Measure m;
    auto position = [&] {
        rt::DynScope scope;
        rt::FileFind(file, 1, V(key), 0);
    };
    position();
    TakeTrace(trace);
    rt::SysVarSet(rt::kSysTrace, kTraceSql);
    rt::FileRead(file, mode);
    rt::SysVarSet(rt::kSysTrace, kTraceOff);
    m.statements = TakeTrace(trace);
    // Step and bare statements alternate, so that a change in the machine's load meets both alike.
    std::vector<double> steps, bare;
    for (int i = 0; i < kRounds; ++i) {
        position();
        Clock::time_point a = Clock::now();
        rt::FileRead(file, mode);
        Clock::time_point b = Clock::now();
        for (const std::string& s : m.statements) rt::SqlSendRaw(V(s));
        Clock::time_point c = Clock::now();
        steps.push_back(Micros(a, b));
        bare.push_back(Micros(b, c));
    }
    m.step = Median(steps);
    m.bare = Median(bare);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atol(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000, 1000000};

    rt::ConsoleDesktop desktop;
    rt::DesktopSet(&desktop);
    if (rt::SlotInit() != 0 || rt::VarInit() != 0) return 2;
    rt::RuntimeLayersInstall();
    const std::string trace = (std::filesystem::temp_directory_path() / "bench_navigation_trace.txt").string();
    rt::SlotSet(rt::kRunTextsGroup, rt::kSlotLogPath, V(trace));
    rt::SysVarSet(rt::kSysTrace, kTraceOff);

    struct Row { char schema; long rows; const char* where; const char* dir; Measure m; };
    std::vector<Row> results;
    for (long rows : sizes) {
        rt::FileTableReset();
        if (Connect(0) != 0) {
            std::fprintf(stderr, "no database: %s\n", rt::StrToStd(rt::ErrDetail()).c_str());
            return 2;
        }
        Clock::time_point a = Clock::now();
        if (!Create('a', rows) || !Create('b', rows)) return 2;
        std::printf("filled two tables of %ld rows in %.1f s\n", rows, Micros(a, Clock::now()) / 1e6);
        rt::SqlStartHook(rt::kSqlHookEnd);
        if (Connect(rt::kSchemaColumns) != 0) return 2;
        for (char schema : {'a', 'b'}) {
            std::uint8_t file;
            {
                rt::DynScope scope;
                std::string name = Table(schema, rows);
                file = rt::FileByName(V(name));
            }
            if (file == 0 || rt::FileOpen(file, 2) != 0) return 2;
            struct Where { const char* name; long row; };
            for (Where w : {Where{"middle", rows / 2}, Where{"start", 5}}) {
                for (std::uint8_t mode : {rt::kReadNext, rt::kReadPrevious}) {
                    Measure m = Step(file, Key(w.row), mode, trace);
                    results.push_back({schema, rows, w.name, mode == rt::kReadNext ? "next" : "previous", m});
                }
            }
            rt::FileClose(file);
        }
        Exec("DROP TABLE " + Table('a', rows) + ";");
        Exec("DROP TABLE " + Table('b', rows) + ";");
        rt::SqlStartHook(rt::kSqlHookEnd);
    }

    std::printf("\n%-7s %9s %-7s %-9s %10s %10s %7s\n", "schema", "rows", "from", "step", "FileRead", "bare", "ratio");
    for (const Row& r : results)
        std::printf("%-7c %9ld %-7s %-9s %8.1fus %8.1fus %6.2fx\n", r.schema, r.rows, r.where, r.dir, r.m.step, r.m.bare,
                    r.m.step / r.m.bare);
    std::printf("\nstatements of each step (first size):\n");
    for (const Row& r : results) {
        if (r.rows != sizes.front()) continue;
        std::printf("  %c %s %s:\n", r.schema, r.where, r.dir);
        for (const std::string& s : r.m.statements) std::printf("    %s\n", s.c_str());
    }
    if (sizes.size() > 1) {
        std::printf("\nlargest against smallest table (step time):\n");
        for (const Row& big : results) {
            if (big.rows != sizes.back()) continue;
            for (const Row& small : results)
                if (small.rows == sizes.front() && small.schema == big.schema && std::string(small.where) == big.where &&
                    std::string(small.dir) == big.dir)
                    std::printf("  %c %-7s %-9s %6.2fx\n", big.schema, big.where, big.dir, big.m.step / small.m.step);
        }
    }
    rt::FileTableReset();
    rt::VarShutdown();
    rt::MemShutdown();
    return 0;
}
