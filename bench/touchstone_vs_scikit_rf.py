"""veltrix-cli compare --format json beside scikit-rf, both reading the same files that scikit-rf wrote.

usage: /usr/bin/python3 bench/touchstone_vs_scikit_rf.py VELTRIX_CLI [ROWS ...]   (default 1000 100000 1000000)

For each size: the wall time and peak resident memory of veltrix-cli, and of a Python process that
only reads the file with skrf.Network (its time given with and without the import of scikit-rf).
Each figure is the best of three runs; times are GNU time's, to 10 ms.
"""
import os
import subprocess
import sys
import tempfile

PART = ["--f0", "1500", "--bw", "30", "--sections", "4"]
RUNS = 3


def measure(command):
    """(seconds, peak MiB, stdout) of one run, timed and measured by GNU time: a probe forked from
    Python would count Python's own pages in the child's peak."""
    done = subprocess.run(["/usr/bin/time", "-f", "%e %M", *command], capture_output=True, text=True)
    if done.returncode:
        sys.exit(f"failed: {command}: {done.stderr[-300:]}")
    seconds, kib = done.stderr.strip().splitlines()[-1].split()
    return float(seconds), int(kib) / 1024, done.stdout


def best(command):
    runs = [measure(command) for _ in range(RUNS)]
    return min(r[0] for r in runs), min(r[1] for r in runs), runs[0][2]


def read_seconds(said):
    line = next(l for l in said.splitlines() if l.startswith("import "))
    return float(line.split()[4])


def write_file(directory, rows):
    import numpy as np
    import skrf
    f = np.linspace(1410e6, 1590e6, rows)
    s = np.zeros((rows, 2, 2), dtype=complex)
    # A phase that keeps turning: 50 ns of delay through the whole sweep.
    s21 = 0.5 * np.exp(-2j * np.pi * f * 50e-9)
    s[:, 0, 0] = s[:, 1, 1] = 0.1
    s[:, 1, 0] = s[:, 0, 1] = s21
    network = skrf.Network(frequency=skrf.Frequency.from_f(f, unit="hz"), s=s, name=f"rows{rows}")
    network.write_touchstone(filename=f"rows{rows}", dir=directory, form="db")
    return os.path.join(directory, f"rows{rows}.s2p")


READER = ("import sys, time\n"
          "t = time.perf_counter()\n"
          "import skrf\n"
          "u = time.perf_counter()\n"
          "n = skrf.Network(sys.argv[1])\n"
          "v = time.perf_counter()\n"
          "print(f'import {u - t:.3f} s read {v - u:.3f} s {len(n.f)} rows')\n")


def main():
    cli = os.path.abspath(sys.argv[1])
    sizes = [int(a) for a in sys.argv[2:]] or [1000, 100000, 1000000]
    with tempfile.TemporaryDirectory() as directory:
        small = os.path.join(directory, "small.s2p")
        with open(small, "w") as out:
            out.write("# MHz S DB R 50\n")
            for k in range(45):
                out.write(f"{1410 + 4 * k} -20 0 -6.02 {-7 * k % 360 - 180} -6.02 0 -20 0\n")
        seconds, peak, _ = best([cli, "compare", "--measured", small, *PART, "--format", "json"])
        print(f"{os.path.getsize(small)} byte file: veltrix-cli {seconds:.4f} s, peak {peak:.1f} MiB")
        print(f"{'rows':>8} {'MB':>7} | {'veltrix s':>9} {'MiB':>7} | {'skrf s':>7} {'(read)':>7} {'MiB':>7} |"
              f" {'time x':>6} {'mem x':>6}")
        for rows in sizes:
            path = write_file(directory, rows)
            mb = os.path.getsize(path) / 1e6
            v_s, v_mib, _ = best([cli, "compare", "--measured", path, *PART, "--format", "json"])
            p_s, p_mib, said = best([sys.executable, "-c", READER, path])
            read_s = read_seconds(said)
            print(f"{rows:>8} {mb:>7.1f} | {v_s:>9.3f} {v_mib:>7.1f} | {p_s:>7.3f} {read_s:>7.3f} {p_mib:>7.1f} |"
                  f" {v_s / p_s:>6.2f} {v_mib / p_mib:>6.2f}", flush=True)
            os.remove(path)


if __name__ == "__main__":
    main()
