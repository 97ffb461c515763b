"""Touchstone 1.1 and 2.0 examples read by scikit-rf and by veltrix-cli compare agree to 1e-9 dB."""
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
TOLERANCE_DB = 1e-9


def measured(path):
    done = subprocess.run([cli, "compare", "--measured", path, *PART, "--format", "json"],
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"FAIL: compare {path} exited {done.returncode}: {done.stderr}")
    points = json.loads(done.stdout)["points"]
    assert points, f"{path}: no point inside the span"
    return done.stderr, points


def agree(label, path, network, s21):
    """veltrix-cli's losses at every point it compares against scikit-rf's of the same network."""
    notice, points = measured(path)
    f_mhz = network.f / 1e6
    worst = 0.0
    for p in points:
        k = int(np.argmin(np.abs(f_mhz - p["frequency_mhz"])))
        assert abs(f_mhz[k] - p["frequency_mhz"]) <= 1e-9 * f_mhz[k], (label, p["frequency_mhz"])
        loss = -20 * np.log10(np.abs(s21[k]))
        return_loss = -network.s_db[k, 0, 0]
        worst = max(worst, abs(p["measured"]["attenuation_db"] - loss),
                    abs(p["measured"]["return_loss_db"] - return_loss))
    assert worst <= TOLERANCE_DB, f"FAIL: {label}: {worst} dB apart"
    print(f"{label}: {len(points)} points, at most {worst:.2e} dB from scikit-rf")
    return notice


def pair(form, value):
    if form == "RI":
        return f"{value.real!r} {value.imag!r}"
    if form == "MA":
        return f"{abs(value)!r} {np.degrees(np.angle(value))!r}"
    return f"{20 * np.log10(abs(value))!r} {np.degrees(np.angle(value))!r}"


def version2(network, form, order="21_12", matrix="Full", line_end="\n", noise=False):
    """The network as a Touchstone 2.0 text, its [Reference] continued on the following lines."""
    s = network.s
    lines = ["[Version] 2.0", f"# Hz S {form} R 50", "[Number of Ports] 2"]
    if matrix == "Full":
        lines.append(f"[Two-Port Data Order] {order}")
    lines += [f"[Number of Frequencies] {len(network.f)}"]
    if noise:
        lines.append("[Number of Noise Frequencies] 2")
    lines += ["[Reference]", "50", "50", f"[Matrix Format] {matrix}", "[Network Data]"]
    for k, f in enumerate(network.f):
        if matrix == "Upper":
            values = [s[k, 0, 0], s[k, 0, 1], s[k, 1, 1]]
        elif matrix == "Lower":
            values = [s[k, 0, 0], s[k, 1, 0], s[k, 1, 1]]
        elif order == "12_21":
            values = [s[k, 0, 0], s[k, 0, 1], s[k, 1, 0], s[k, 1, 1]]
        else:
            values = [s[k, 0, 0], s[k, 1, 0], s[k, 0, 1], s[k, 1, 1]]
        lines.append(f"{f!r} " + " ".join(pair(form, v) for v in values))
    if noise:
        lines += ["[Noise Data]", "1e9 2.0 0.5 30 0.3", "2e9 2.1 0.5 35 0.3"]
    lines.append("[End]")
    return line_end.join(lines) + line_end


def written(directory, name, text):
    path = os.path.join(directory, name)
    with open(path, "w", newline="") as out:
        out.write(text)
    return path


with tempfile.TemporaryDirectory() as directory:
    model_path = os.path.join(directory, "model.s2p")
    subprocess.run([cli, *PART, "--touchstone", model_path, "--span-bandwidths", "8", "--points", "401"],
                   check=True, stdout=subprocess.DEVNULL)
    model = skrf.Network(model_path)
    # Not quite reciprocal, so that reading S12 for S21 would show.
    model.s[:, 0, 1] *= 0.99

    for form in ("db", "ma", "ri"):
        model.write_touchstone(filename="v11_" + form, dir=directory, form=form)
        path = os.path.join(directory, "v11_" + form + ".s2p")
        agree(f"1.1 {form} as scikit-rf writes it", path, skrf.Network(path), skrf.Network(path).s[:, 1, 0])

    # 1.1 with CR line ends, and with a noise block after the network data
    with open(os.path.join(directory, "v11_ri.s2p")) as source:
        text = source.read()
    path = written(directory, "v11_cr.s2p", text.replace("\n", "\r"))
    agree("1.1 CR line ends", path, skrf.Network(path), skrf.Network(path).s[:, 1, 0])
    path = written(directory, "v11_noise.s2p", text + "! noise\n1 2.0 0.5 30 0.3\n2 2.1 0.5 35 0.3\n")
    network = skrf.Network(path)
    assert network.noisy, "scikit-rf did not take the block for noise data"
    notice = agree("1.1 noise block", path, network, network.s[:, 1, 0])
    assert "noise data skipped" in notice, notice

    # 2.0: scikit-rf (as Debian ships it) writes 1.1 only, so the same values are written as 2.0 texts
    # and compared with scikit-rf's reading of the 1.1 file.
    network = skrf.Network(os.path.join(directory, "v11_ri.s2p"))
    for label, text, s21 in [
        ("2.0 RI 21_12", version2(network, "RI"), network.s[:, 1, 0]),
        ("2.0 DB 12_21", version2(network, "DB", order="12_21"), network.s[:, 1, 0]),
        ("2.0 MA Upper", version2(network, "MA", matrix="Upper"), network.s[:, 0, 1]),
        ("2.0 RI Lower", version2(network, "RI", matrix="Lower"), network.s[:, 1, 0]),
        ("2.0 CR line ends", version2(network, "RI", line_end="\r"), network.s[:, 1, 0]),
        ("2.0 CR LF line ends", version2(network, "DB", line_end="\r\n"), network.s[:, 1, 0]),
    ]:
        agree(label, written(directory, "v2.ts", text), network, s21)
    notice = agree("2.0 noise data", written(directory, "v2_noise.ts", version2(network, "RI", noise=True)),
                   network, network.s[:, 1, 0])
    assert "noise data skipped" in notice, notice
