#!/usr/bin/env python3
"""Checks of the delay-import slot rule of check_installer_pe.py: which slot
layouts of an import address table it accepts and where it points at a
fault."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_installer_pe  # noqa: E402


class DelaySlotFaultsTest(unittest.TestCase):
    CASES = [
        # (what the run of unbound slots shows, its kinds, faulty indexes)
        ("no delay-import table", "", []),
        ("one table of one function", "ZTZ", []),
        ("two tables back to back", "ZTTZZTZ", []),
        ("the function's slot was left zero", "ZZZ", [1, 2]),
        ("one zero slot among thunks", "ZTZTZ", [3, 4]),
        ("a slot pointing outside the code", "ZTXTZ", [2, 3, 4]),
        ("a table without its tail", "ZTT", [2]),
        ("a thunk before any head", "TZTZ", [0]),
        ("two zeros too many between two tables", "ZTZZZZTZ", [4]),
    ]

    def test_layouts(self):
        for what, kinds, faults in self.CASES:
            with self.subTest(what):
                self.assertEqual(check_installer_pe.delay_slot_faults(kinds), faults)


if __name__ == "__main__":
    unittest.main()
