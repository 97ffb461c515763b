"""Files written by scikit-rf, read back by veltrix-cli compare."""
import json
import os
import subprocess
import sys
import tempfile

SKIP = 77
cli = sys.argv[1]
try:
    import numpy as np
    import skrf
except ImportError as error:
    print(f"SKIP: scikit-rf is not importable by /usr/bin/python3 ({error})")
    sys.exit(SKIP)

PART = ["--f0", "1500", "--bw", "30", "--sections", "4", "--f1", "1400"]
STEP_MHZ = 0.3  # the default Touchstone export: the graph's 1/60 step divided in ten


def model(directory):
    path = os.path.join(directory, "model.s2p")
    subprocess.run([cli, *PART, "--touchstone", path, "--span-bandwidths", "8", "--points", "801"],
                   check=True, stdout=subprocess.DEVNULL)
    return skrf.Network(path)


def compare(path):
    done = subprocess.run([cli, "compare", "--measured", path, *PART, "--format", "json"],
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"FAIL: compare {path} exited {done.returncode}: {done.stderr}")
    return json.loads(done.stdout)


def written(network, directory, name, form):
    network.name = name
    network.write_touchstone(filename=name, dir=directory, form=form)
    return os.path.join(directory, name + ".s2p")


with tempfile.TemporaryDirectory() as directory:
    own = model(directory)
    for form in ("db", "ma", "ri"):
        result = compare(written(own, directory, "own_" + form, form))
        assert result["points"], "no point inside the span"
        for key, entry in result["summary"].items():
            if key.endswith("_db"):
                assert abs(entry["deviation"]) < 0.01, (form, key, entry)
        assert abs(result["summary"]["centre_frequency_mhz"]["deviation"]) < 0.01
        print(f"model read back ({form}): every deviation under 0.01 dB")

    loss_db, shift_mhz = 0.7, 2.0
    shifted = own.copy()
    shifted.frequency = skrf.Frequency.from_f(own.f + shift_mhz * 1e6, unit="hz")
    shifted.s = shifted.s * 10 ** (-loss_db / 20)
    shifted.s[:, 0, 0] = own.s[:, 0, 0]
    shifted.s[:, 1, 1] = own.s[:, 1, 1]
    result = compare(written(shifted, directory, "shifted", "db"))
    summary = result["summary"]
    found_shift = summary["centre_frequency_mhz"]["deviation"]
    found_loss = summary["centre_loss_db"]["deviation"]
    assert abs(found_shift - shift_mhz) <= STEP_MHZ, summary
    assert abs(found_loss - loss_db) < 0.05, summary
    print(f"added {loss_db} dB and {shift_mhz} MHz: found {found_loss:.3f} dB and {found_shift:.3f} MHz")
