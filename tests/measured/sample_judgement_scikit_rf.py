"""veltrix-cli compare judges samples that scikit-rf writes as numpy works them out independently:
a shifted, lossier 3DR25-1000/U25 that misses 1040 MHz by about 0.6 dB, and a noisy one whose
fitted delay at F0 stays within 2 % of the model's."""
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

F0, BW, PBD = 1000.0, 25.0, 1.0
PART = ["--f0", "1000", "--bw", "25"]
REJECT = [(960.0, 20.0), (1040.0, 18.0)]
HALF_APERTURE = 0.0025 * F0
TOLERANCE = 1e-6


def compare(path, *extra):
    done = subprocess.run([cli, "compare", "--measured", path, *PART, *extra], capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def figures(network):
    """What an engineer works out from the file: numpy only, on scikit-rf's reading of it."""
    f = network.f / 1e6
    s21 = network.s[:, 1, 0]
    loss = -20 * np.log10(np.abs(s21))
    at_f0 = np.interp(F0, f, loss)
    points = [(mhz, np.interp(mhz, f, loss) - at_f0, need) for mhz, need in REJECT]
    lo, hi = F0 - BW / 2, F0 + BW / 2
    inside = (f >= lo) & (f <= hi)
    band = np.concatenate([loss[inside], [np.interp(lo, f, loss), np.interp(hi, f, loss)]])
    lowest, highest = band.min(), band.max()
    level = lowest + PBD
    start = np.flatnonzero(inside)[np.argmin(loss[inside])]
    k = start
    while loss[k - 1] <= level:
        k -= 1
    lower = f[k - 1] + (f[k] - f[k - 1]) * (loss[k - 1] - level) / (loss[k - 1] - loss[k])
    k = start
    while loss[k + 1] <= level:
        k += 1
    upper = f[k] + (f[k + 1] - f[k]) * (level - loss[k]) / (loss[k + 1] - loss[k])
    window = np.abs(f - F0) <= HALF_APERTURE
    slope = np.polyfit(f[window], np.unwrap(np.angle(s21))[window], 1)[0]
    return {"loss_at_f0": at_f0, "points": points, "lower": lower, "upper": upper, "highest": highest,
            "flatness": highest - lowest, "delay_ns": -slope / (2 * np.pi) * 1000.0}


def near(label, got, want, tolerance=TOLERANCE):
    assert abs(got - want) <= tolerance, f"FAIL: {label}: veltrix-cli {got!r}, numpy {want!r}"


def check_judgement(label, document, expected):
    requirement, passband = document["requirement"], document["passband"]
    near(f"{label} loss at F0", requirement["insertion_loss"]["measured_db"], expected["loss_at_f0"])
    for point, (mhz, dbc, need) in zip(requirement["points"], expected["points"]):
        near(f"{label} {mhz} MHz", point["measured_dbc"], dbc)
        near(f"{label} {mhz} MHz margin", point["margin_db"], dbc - need)
        assert point["pass"] == (dbc >= need), (label, point)
    near(f"{label} lower edge", passband["lower_edge_mhz"], expected["lower"])
    near(f"{label} upper edge", passband["upper_edge_mhz"], expected["upper"])
    near(f"{label} bandwidth", passband["bandwidth_mhz"], expected["upper"] - expected["lower"])
    assert passband["bandwidth_pass"] == (expected["upper"] - expected["lower"] >= BW), (label, passband)
    near(f"{label} centre", passband["centre_mhz"], (expected["upper"] + expected["lower"]) / 2)
    near(f"{label} shift", passband["shift_mhz"], (expected["upper"] + expected["lower"]) / 2 - F0)
    near(f"{label} highest loss", passband["highest_loss_db"], expected["highest"])
    near(f"{label} flatness", passband["flatness_db"], expected["flatness"])
    near(f"{label} delay", document["delay"]["measured_ns"], expected["delay_ns"], 1e-6 * abs(expected["delay_ns"]))


def main():
    rejects = [arg for mhz, dbc in REJECT for arg in ("--reject", f"{mhz:g}:{dbc:g}")]
    with tempfile.TemporaryDirectory() as directory:
        model_path = os.path.join(directory, "model.s2p")
        subprocess.run([cli, *PART, "--touchstone", model_path, "--from", "900", "--to", "1100", "--points",
                        "20001"], check=True, capture_output=True)
        model = skrf.Network(model_path)

        # Shifted +0.4 % and 0.35 dB lossier: the model's response at f / 1.004, scaled.
        shifted = model.copy()
        shifted.frequency = skrf.Frequency.from_f(model.f * 1.004, unit="hz")
        shifted.s = model.s.copy()
        shifted.s[:, 1, 0] *= 10 ** (-0.35 / 20)
        shifted.s[:, 0, 1] *= 10 ** (-0.35 / 20)
        shifted.write_touchstone(filename="shifted", dir=directory, form="db")
        path = os.path.join(directory, "shifted.s2p")
        expected = figures(skrf.Network(path))
        status, out, err = compare(path, *rejects, "--format", "json")
        assert status == 3, f"FAIL: a missing sample exited {status}, not 3: {err}"
        document = json.loads(out)
        check_judgement("shifted", document, expected)
        miss = expected["points"][1]
        assert -0.7 < miss[1] - miss[2] < -0.5, f"FAIL: the shifted sample misses 1040 MHz by {miss[1] - miss[2]}"
        assert expected["points"][0][1] >= 20.0, "FAIL: the shifted sample should meet 960 MHz"
        verdict = (f"The sample misses the requirement: 1040.00 MHz, {miss[1]:.2f} dBc against 18.0 dBc "
                   f"required (\u2212{abs(miss[1] - miss[2]):.2f} dB)")
        assert document["verdict"] == verdict, f"FAIL: verdict {document['verdict']!r}, expected {verdict!r}"
        near("shift about +4 MHz", document["passband"]["shift_mhz"], 4.0, 0.1)
        status, out, _ = compare(path, *rejects)
        assert status == 3 and verdict in out.splitlines(), f"FAIL: the text gives {status} without {verdict!r}"
        print(f"shifted: {verdict}; shift {document['passband']['shift_mhz']:+.3f} MHz")

        # The unshifted model meets the same requirement: exit 0.
        status, out, _ = compare(model_path, *rejects, "--format", "json")
        assert status == 0, f"FAIL: the model itself exited {status}"
        assert json.loads(out)["verdict"] == "The sample meets the requirement."

        # Noise at -70 dB on every parameter: the fitted delay at F0 stays within 2 % of the model's.
        rng = np.random.default_rng(24)
        noisy = model.copy()
        amplitude = 10 ** (-70 / 20) / np.sqrt(2)
        noisy.s = model.s + amplitude * (rng.standard_normal(model.s.shape) + 1j * rng.standard_normal(model.s.shape))
        noisy.write_touchstone(filename="noisy", dir=directory, form="ri")
        path = os.path.join(directory, "noisy.s2p")
        expected = figures(skrf.Network(path))
        status, out, err = compare(path, *rejects, "--format", "json")
        document = json.loads(out)
        check_judgement("noisy", document, expected)
        # The model's band is exactly 25 MHz wide, so the noise decides the bandwidth's verdict: numpy's.
        meets = expected["upper"] - expected["lower"] >= BW and all(d >= n for _, d, n in expected["points"])
        assert status == (0 if meets else 3), f"FAIL: the noisy sample exited {status}: {err}"
        assert document["meets"] == meets, document["verdict"]
        model_delay = figures(model)["delay_ns"]
        delay = document["delay"]["measured_ns"]
        assert abs(delay - model_delay) <= 0.02 * model_delay, f"FAIL: delay {delay} ns, model {model_delay} ns"
        # Every measured delay shown is the fit: none near F0 strays from the model's by 2 %.
        worst = max(abs(p["measured"]["delay_ns"] - p["model"]["delay_ns"]) / p["model"]["delay_ns"]
                    for p in document["points"] if abs(p["frequency_mhz"] - F0) <= BW / 4)
        assert worst <= 0.02, f"FAIL: a measured delay near F0 is {worst:.1%} from the model's"
        print(f"noisy: delay at F0 {delay:.3f} ns, model {model_delay:.3f} ns; worst near F0 {worst:.2%}")


main()
