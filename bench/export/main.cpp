// Export benchmark: a delimited export of the default contacts table (mode 52 in batch form to a
// file, through qrt --transfer) beside psql's \copy of the same rows in key order, at each table
// size. Prints both times, their ratio and the peak memory of our run. Runs in a cluster that the
// PG* environment names (scripts/bench.sh export starts a throwaway one with pg_virtualenv).
//   bench_export QRT [ROWS...]      (default 100000 1000000)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Measure {
    double seconds = 0;
    long peakKb = 0;
    int status = -1;
};

// Runs argv in folder with standard output to out, and measures its wall time and peak memory.
Measure Run(const std::vector<std::string>& argv, const std::string& folder, const std::string& out) {
    Measure m;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        // Standard output and standard error go to out (the outcome lines would mix with the table).
        if (!out.empty() && (!freopen(out.c_str(), "w", stdout) || !freopen(out.c_str(), "w", stderr))) _exit(127);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.peakKb = usage.ru_maxrss;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m;
}

bool Psql(const std::string& sql) {
    return Run({"psql", "-q", "-v", "ON_ERROR_STOP=1", "-c", sql}, ".", "/dev/null").status == 0;
}

std::size_t Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// The default schema of the contact directory, filled with n contacts of typical lengths.
bool Fill(long n) {
    return Psql("DROP TABLE IF EXISTS contactos; "
                "CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                "\"DIRECCION\" varchar(60), \"CP\" varchar(5), \"POBLACION\" varchar(40), \"TELEFONO\" varchar(20), "
                "\"MOVIL\" varchar(20), \"EMAIL\" varchar(60), \"OTROS\" varchar(60), \"OBSERVACIONES\" varchar(250)); "
                "INSERT INTO contactos SELECT 'Contacto ' || lpad(i::text, 8, '0'), 'Nombre ' || i, "
                "'Calle Mayor, ' || (i % 300), lpad((i % 52000)::text, 5, '0'), 'Poblacion ' || (i % 500), "
                "'9' || lpad(i::text, 8, '0'), '6' || lpad(i::text, 8, '0'), 'c' || i || '@ejemplo.es', "
                "'', 'Cliente desde ' || (1990 + i % 30) FROM generate_series(1, " + std::to_string(n) + ") i; "
                "ANALYZE contactos;");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_export QRT [ROWS...]\n");
        return 2;
    }
    std::string qrt = std::filesystem::absolute(argv[1]).string();
    std::vector<long> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::atol(argv[i]));
    if (sizes.empty()) sizes = {100000, 1000000};

    std::string folder = std::filesystem::temp_directory_path() / ("bench_export_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    {
        std::ofstream params(folder + "/sqlparams.dat", std::ios::binary);
        params << "sqlhost='" << Env("PGHOST") << "' database='" << Env("PGDATABASE") << "' user='" << Env("PGUSER")
               << "' passw='" << Env("PGPASSWORD") << "'\r\n";
    }
    std::printf("%10s %10s %10s %7s %10s\n", "rows", "qrt s", "psql s", "ratio", "qrt peak");
    int failed = 0;
    for (long n : sizes) {
        if (!Fill(n)) {
            std::fprintf(stderr, "bench_export: the table of %ld rows could not be made\n", n);
            return 1;
        }
        std::string ours = folder + "/qrt.csv", theirs = folder + "/psql.csv";
        Measure q = Run({qrt, "--transfer", "52", ours, "FILE=contactos"}, folder, "/dev/null");
        Measure p = Run({"psql", "-q", "-c",
                         "\\copy (SELECT * FROM contactos ORDER BY \"RAZON_SOCIAL\") TO '" + theirs + "' CSV"},
                        folder, "/dev/null");
        std::size_t ql = Lines(ours), pl = Lines(theirs);
        std::printf("%10ld %10.2f %10.2f %7.2f %7.1f MB%s\n", n, q.seconds, p.seconds, q.seconds / p.seconds,
                    q.peakKb / 1024.0, (q.status == 0 && ql == static_cast<std::size_t>(n) && pl == ql) ? "" : "  (FAILED)");
        if (q.status != 0 || ql != static_cast<std::size_t>(n) || pl != ql) failed = 1;
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder);
    return failed;
}
