"""The alarm of TaviMenu2 under Wine: a wave file played at its time, through a
sound device that records what it is given (ALSA's file plugin, configured in
a HOME of the test's own)."""

from __future__ import annotations

import math
import struct
import time
import unittest
import wave

import harness
import tavi

SESSION: harness.Session
ALSA_HOME = harness.E2E_DIR / "alsa-home"
RECORDING = ALSA_HOME / "alsa_out.raw"


def setUpModule():
    global SESSION
    ALSA_HOME.mkdir(parents=True, exist_ok=True)
    (ALSA_HOME / ".asoundrc").write_text(
        f'pcm.!default {{ type file; slave.pcm "null"; file "{RECORDING}"; format "raw" }}\n')
    SESSION = harness.Session(env={"HOME": str(ALSA_HOME)}).start()
    tavi.BarTestCase.session = SESSION


def tearDownModule():
    SESSION.stop()


def tone(path, seconds: float = 0.5) -> None:
    """A 440 Hz tone as 16-bit mono PCM at 22050 Hz."""
    rate = 22050
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                                 for i in range(int(rate * seconds))))


def recorded_bytes() -> int:
    return RECORDING.stat().st_size if RECORDING.exists() else 0


class AlarmTest(tavi.BarTestCase):
    def start_with_alarm(self, name: str, slot_time: str) -> tuple:
        folder = SESSION.program_folder(name, [harness.PROGRAM_EXE])
        tone(folder.path / "chime.wav")
        time_field = (slot_time + "0000" * 9).ljust(40)
        folder.write_bytes("TaviLaunch.ini", tavi.cp932_lines([
            "[IniBuff]", f"IniBuff={tavi.INIBUFF_LEFT_SHOWN}",
            "[Time]", f"WaveFile={folder.win_file('chime.wav')}", f"Time={time_field}"]))
        return folder, self.start(folder)

    def test_an_alarm_due_now_plays_its_wave_file(self):
        # The alarm rings in its minute: keep clear of the end of one.
        harness.wait_until(lambda: time.localtime().tm_sec < 45, 20, "a minute with time to spare")
        now = time.localtime()
        RECORDING.unlink(missing_ok=True)  # the device writes it anew each time it opens
        folder, bar = self.start_with_alarm("alarm-now", f"{now.tm_hour:02d}{now.tm_min:02d}")
        # A click would be a few hundred bytes; the tone is half a second.
        played = harness.wait_until(lambda: recorded_bytes() >= 8000 and recorded_bytes(), 15,
                                    "the tone's samples on the recording device")
        print(f"\n  {played} bytes of sound recorded")
        self.assertTrue(SESSION.alive(bar.pid))

    def test_an_alarm_at_another_time_stays_quiet(self):
        now = time.localtime()
        other = (now.tm_hour + 12) % 24
        RECORDING.unlink(missing_ok=True)
        folder, bar = self.start_with_alarm("alarm-later", f"{other:02d}{now.tm_min:02d}")
        # Each sent WM_TIMER is one whole tick of Timer1, alarm check included.
        for _ in range(4):
            SESSION.call("send", hwnd=bar.hwnd, msg=0x113, wparam=1, lparam=0)
        self.assertFalse(RECORDING.exists(), "the sound device was never opened")


if __name__ == "__main__":
    unittest.main()
