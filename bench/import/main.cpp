// Import benchmark: an external import of a CSV of contacts, half of whose keys the table holds and
// half new, through qrt --import external with a column map, beside psql doing the same upsert in
// the same run (\copy into a temporary table, then INSERT ... ON CONFLICT DO UPDATE). Prints both
// times, their ratio and the peak memory of our run. Runs in the cluster that the PG* environment
// names (scripts/bench.sh import starts a throwaway one with the server's own durability settings).
//   bench_import QRT [ROWS...]      (default 100000)
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
    std::fflush(nullptr);  // the child would print what is still buffered again
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

// The first line psql prints for a query.
std::string Query(const std::string& sql, const std::string& folder) {
    std::string out = folder + "/query.txt";
    if (Run({"psql", "-tAq", "-c", sql}, ".", out).status != 0) return "";
    std::ifstream in(out);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

constexpr const char* kColumns = "\"RAZON_SOCIAL\", \"NOMBRE\", \"DIRECCION\", \"TELEFONO\", \"EMAIL\"";

// The default schema of the contact directory holding the odd-numbered half of n contacts.
bool Fill(long n) {
    return Psql("DROP TABLE IF EXISTS contactos; "
                "CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                "\"DIRECCION\" varchar(60), \"CP\" varchar(5), \"POBLACION\" varchar(40), \"TELEFONO\" varchar(20), "
                "\"MOVIL\" varchar(20), \"EMAIL\" varchar(60), \"OTROS\" varchar(60), \"OBSERVACIONES\" varchar(250)); "
                "INSERT INTO contactos SELECT 'Contacto ' || lpad(i::text, 8, '0'), 'Antiguo ' || i, "
                "'Calle Vieja, ' || (i % 300), lpad((i % 52000)::text, 5, '0'), 'Poblacion ' || (i % 500), "
                "'8' || lpad(i::text, 8, '0'), '6' || lpad(i::text, 8, '0'), 'old' || i || '@ejemplo.es', "
                "'', 'Cliente desde ' || (1990 + i % 30) FROM generate_series(1, " + std::to_string(n) + ", 2) i; "
                "ANALYZE contactos;");
}

// The foreign file: a ';'-separated CSV of n contacts as another program writes it.
void WriteSource(const std::string& path, long n) {
    std::ofstream out(path, std::ios::binary);
    out << "Empresa;Contacto;Direccion;Telefono;Correo\r\n";
    for (long i = 1; i <= n; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "%08ld", i);
        out << "Contacto " << key << ";Nombre " << i << ";\"Calle Mayor; " << (i % 300) << "\";9" << key << ";c" << i
            << "@ejemplo.es\r\n";
    }
}

// The table as both runs must leave it: n rows, every one with the file's values, the others kept.
std::string Outcome(const std::string& folder) {
    std::string row;
    for (const char* c : {"RAZON_SOCIAL", "NOMBRE", "DIRECCION", "CP", "POBLACION", "TELEFONO", "EMAIL", "OBSERVACIONES"})
        row += std::string(row.empty() ? "" : ", ") + "coalesce(\"" + c + "\", '')";
    return Query("SELECT count(*) || ' ' || md5(string_agg(concat_ws('|', " + row + "), E'\\n' "
                 "ORDER BY \"RAZON_SOCIAL\")) FROM contactos;", folder);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_import QRT [ROWS...]\n");
        return 2;
    }
    std::string qrt = std::filesystem::absolute(argv[1]).string();
    std::vector<long> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::atol(argv[i]));
    if (sizes.empty()) sizes = {100000};

    std::string folder = std::filesystem::temp_directory_path() / ("bench_import_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    {
        std::ofstream params(folder + "/sqlparams.dat", std::ios::binary);
        params << "sqlhost='" << Env("PGHOST") << "' database='" << Env("PGDATABASE") << "' user='" << Env("PGUSER")
               << "' passw='" << Env("PGPASSWORD") << "'\r\n";
    }
    std::printf("server: fsync=%s synchronous_commit=%s\n", Query("SHOW fsync;", folder).c_str(),
                Query("SHOW synchronous_commit;", folder).c_str());
    std::printf("%10s %10s %10s %7s %10s\n", "rows", "qrt s", "psql s", "ratio", "qrt peak");
    int failed = 0;
    for (long n : sizes) {
        std::string source = folder + "/contactos.csv";
        WriteSource(source, n);
        if (!Fill(n)) {
            std::fprintf(stderr, "bench_import: the table could not be made\n");
            return 1;
        }
        Measure q = Run({qrt, "--import", "external", source, "--map",
                         "Empresa=RAZON_SOCIAL,Contacto=NOMBRE,Direccion=DIRECCION,Telefono=TELEFONO,Correo=EMAIL"},
                        folder, folder + "/qrt.log");
        std::string ours = Outcome(folder);
        Fill(n);
        Measure p = Run({"psql", "-q", "-v", "ON_ERROR_STOP=1", "-c",
                         "CREATE TEMP TABLE entrada (\"RAZON_SOCIAL\" text, \"NOMBRE\" text, \"DIRECCION\" text, "
                         "\"TELEFONO\" text, \"EMAIL\" text);",
                         "-c", "\\copy entrada FROM '" + source + "' WITH (FORMAT csv, HEADER, DELIMITER ';')",
                         "-c",
                         "INSERT INTO contactos (" + std::string(kColumns) + ") SELECT * FROM entrada "
                         "ON CONFLICT (\"RAZON_SOCIAL\") DO UPDATE SET \"NOMBRE\" = EXCLUDED.\"NOMBRE\", "
                         "\"DIRECCION\" = EXCLUDED.\"DIRECCION\", \"TELEFONO\" = EXCLUDED.\"TELEFONO\", "
                         "\"EMAIL\" = EXCLUDED.\"EMAIL\";"},
                        folder, folder + "/psql.log");
        std::string theirs = Outcome(folder);
        bool same = q.status == 0 && p.status == 0 && !ours.empty() && ours == theirs &&
                    ours.rfind(std::to_string(n) + " ", 0) == 0;
        std::printf("%10ld %10.2f %10.2f %7.2f %7.1f MB%s\n", n, q.seconds, p.seconds, q.seconds / p.seconds,
                    q.peakKb / 1024.0, same ? "" : "  (FAILED: the tables differ or a run failed)");
        if (!same) {
            std::fprintf(stderr, "qrt: exit %d, %s\npsql: exit %d, %s\n", q.status, ours.c_str(), p.status,
                         theirs.c_str());
            failed = 1;
        }
        std::fflush(stdout);
    }
    if (!failed && !std::getenv("BENCH_KEEP")) std::filesystem::remove_all(folder);
    return failed;
}
