"""A host in another language: Python's ctypes loads Kvr00102.so and sells,
closes and cancels a coupon through kvr_call alone. The coupon on the paper
must be the one the C++ whole-sale test (tests/coupon/whole_sale_test.cpp)
prints for the same sale. Usage: bridge_client_test.py BIN_DIR"""
import ctypes
import json
import os
import re
import sys
import unittest

from bridge_env import Machine, load_printer, start_params, tape_of

BIN_DIR = None

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def whole_sale_coupon():
    """The coupon that the C++ whole-sale test expects, read from that test's
    source: its lines are texts, L1("...") texts or kMaker (the footer's last
    line, from the coupon fixture)."""
    def read(path):
        with open(os.path.join(SOURCE_DIR, path), encoding="utf-8") as f:
            return f.read()
    maker = re.search(r'kMaker = "([^"]*)"', read("tests/coupon/coupon_fixture.h")).group(1)
    block = re.search(r"std::vector<std::string> expected\{(.*?)\n  \};", read("tests/coupon/whole_sale_test.cpp"), re.S)
    lines = []
    for item in re.finditer(r'(?:L1\()?"((?:[^"\\]|\\.)*)"\)?|kMaker', block.group(1)):
        lines.append(maker if item.group(0) == "kMaker" else item.group(1))
    return lines


MOVEMENT_FIELDS = [("CDFILIAL", "string", 4), ("IDTIPOMOVIVE", "string", 1), ("DTHRINCMOV", "datetime", 0),
                   ("CDTIPORECE", "string", 3), ("NMTIPORECE", "string", 40), ("IDTIPORECE", "string", 1),
                   ("VRMOVIVEND", "float", 0), ("VRMOVIVEOUT", "float", 0), ("VRCOTINDOUT", "float", 0),
                   ("CDTIPOTROCO", "string", 3), ("NRORDTROCO", "integer", 0), ("CDCLIENTE", "string", 15),
                   ("CDCONSUMIDOR", "string", 15), ("DTMOVIMCAIXA", "datetime", 0), ("DSIMPFISCAL", "string", 50),
                   ("CDFPIMPFIS", "string", 10), ("NRCARTBANCO", "string", 20), ("CDNSUHOSTTEF", "string", 20),
                   ("CDBANCARTCR", "string", 5), ("CDTIPORECEORIG", "string", 3)]


def dataset(fields, rows):
    return {"fields": [{"name": n, "type": t, "size": s} for n, t, s in fields], "rows": rows}


def movements(rows):
    """Cash movements of the sale: (kind, receipt type, amount, minute after 14:00)."""
    return dataset(MOVEMENT_FIELDS, [["001", kind, "2009-03-09T14:%02d:00" % minute, kind_type, "", "", amount,
                                      0.0, 0.0, "", 0, "", "", "2009-03-09T14:00:00", "", "", "", "", "", ""]
                                     for kind, kind_type, amount, minute in rows])


def receipt_types():
    return dataset([("CDTIPORECE", "string", 3), ("NMTIPORECE", "string", 40), ("IDTIPORECE", "string", 1)],
                   [["001", "Dinheiro", "1"], ["002", "Cartao Credito", "2"], ["003", "Convenio Empresa", "8"],
                    ["004", "Conta Consumidor", "9"], ["005", "Ticket Alimentacao X", "5"]])


def item(code, description, price, quantity=1.0, discount=0.0, rate="01", unit="UN"):
    return {"ESQUEMACOR": "001", "CDARVPROD": code, "NMPROD": description, "CDALIQ": rate, "QTDE": quantity,
            "VALOR": price, "DESCONT": discount, "UNIDADE": unit, "IDUTILTEF": "N", "UTILTEF": False}


def closing_slots():
    """The closing's 43 positional slots of a plain sale, as the C++ tests fill them."""
    slots = [""] * 43
    slots[2], slots[3], slots[9], slots[22], slots[23], slots[42] = "001", 0, "N", "7", "MARIA", "000123"
    for i in (4, 5, 11):
        slots[i] = False
    for i in (6, 7, 8, 37, 38):
        slots[i] = 0.0
    slots[14] = receipt_types()
    return slots


def without_time_stamps(lines):
    """The lines with each date and time ("09/03/2009 14:05:00") blanked: this
    host cannot fix the driver's clock, so the printer keeps the real one."""
    return [re.sub(r"\d\d/\d\d/\d{4} \d\d:\d\d:\d\d", "dd/mm/yyyy hh:mm:ss", line) for line in lines]


def last_coupon(tape):
    """The tape from the first line of the last coupon printed (six lines above "CUPOM FISCAL")."""
    lines = tape.split("\r\n")
    title = max(i for i, line in enumerate(lines) if line.strip() == "CUPOM FISCAL")
    return lines[max(0, title - 5):]


class Bridge:
    def __init__(self, bin_dir):
        self.lib = ctypes.CDLL(os.path.join(bin_dir, "Kvr00102.so"))
        self.lib.kvr_call.restype = ctypes.c_void_p
        self.lib.kvr_call.argtypes = [ctypes.c_char_p]
        self.lib.kvr_free.argtypes = [ctypes.c_void_p]
        self.lib.kvr_set_services.argtypes = [ctypes.c_char_p] * 4

    def call(self, operation, *arguments, answers=None):
        request = {"operation": operation, "arguments": list(arguments)}
        if answers is not None:
            request["answers"] = answers
        reply = self.lib.kvr_call(json.dumps(request).encode("utf-8"))
        try:
            return json.loads(ctypes.string_at(reply).decode("utf-8"))
        finally:
            self.lib.kvr_free(reply)


class CouponThroughTheBridge(unittest.TestCase):
    def setUp(self):
        self.machine = Machine()
        self.bridge = Bridge(BIN_DIR)
        m = self.machine
        self.assertEqual(1, self.bridge.lib.kvr_set_services(m.system_dir.encode(), m.exe_dir.encode(),
                                                             m.drive_c.encode(),
                                                             os.path.join(m.exe_dir, "records.db").encode()))
        self.printer = load_printer(BIN_DIR)
        self.printer.Emu_Reload()
        self.printer.Emu_Reset()
        for form in (b"Cartao Credito", b"Convenio Empresa", b"Conta Consumidor", b"Ticket Alimentac"):
            self.assertEqual(1, self.printer.Bematech_FI_ProgramaFormaPagamentoMFD(form, b"1"))
        self.assertTrue(self.ok("StartImpFiscal", start_params())["result"])

    def tearDown(self):
        self.bridge.call("StopImpFiscal")
        self.machine.remove()

    def ok(self, operation, *arguments, **options):
        reply = self.bridge.call(operation, *arguments, **options)
        self.assertTrue(reply["ok"], reply)
        return reply

    def test_sale_closed_and_cancelled_prints_the_whole_sale_coupon(self):
        opened = self.ok("AbreCupom", {"ESQUEMACOR": "001", "IDUTILTEF": "N", "UTILTEF": False})
        self.assertTrue(opened["result"])
        self.assertIn("Params", opened["arguments"])
        for sold in (item("7891000100103", "CAFE EXPRESSO", 4.5, 2.0),
                     item("42", "BOLO DE CENOURA COM COBERTURA DE CHOCOLATE", 9.99, 1.0, 1.5),
                     item("7", "AGUA MINERAL", 3.0, 1.0, 0.0, "FF", "GARRAFA")):
            self.assertTrue(self.ok("VendaItem", sold)["result"])
        slots = closing_slots()
        slots[6] = 2.0
        # The C++ test's sale: 9.00 + 1.62 of tax (18 %) for the coffees, 8.49 +
        # 1.52 (1.5282 cut) for the cake, 3.00 of untaxed water: 23.63, less
        # 2.00 at the closing, 21.63 paid as 10.00 in cash and 11.63 by card.
        slots[13] = movements([("E", "001", 10.0, 1), ("E", "002", 11.63, 2)])
        slots[21], slots[31], slots[10] = "12", "B5", "VOLTE SEMPRE"
        closed = self.ok("FechaCupom", slots, None, [None] * 10)
        self.assertTrue(closed["result"])
        self.assertTrue(closed["log"], "the closing writes its printer calls to the debug log")
        printed = last_coupon(tape_of(self.printer))
        expected = whole_sale_coupon()
        self.assertEqual(29, len(expected), "the C++ test's expected coupon was not read whole")
        self.assertEqual(without_time_stamps(expected), without_time_stamps(printed[:len(expected)]))

        cancelled = self.ok("Cancela_Cupom_Imp", ["001", True, False, "", "001", "002", "EMU0001"], [None] * 10)
        self.assertTrue(cancelled["result"])
        self.assertEqual("000001", cancelled["arguments"]["oleRetorno"][0])
        after = tape_of(self.printer).split("\r\n")
        self.assertIn("CUPOM FISCAL CANCELADO", [line.strip() for line in after])

    def test_a_question_without_an_answer_gets_no_and_says_so(self):
        # A coupon opened in TEF mode on a printer that is off asks whether to retry.
        self.printer.Emu_SetPower(0)
        reply = self.ok("AbreCupom", {"ESQUEMACOR": "001", "IDUTILTEF": "S", "UTILTEF": True})
        self.printer.Emu_SetPower(1)
        self.assertFalse(reply["result"])
        questions = [d for d in reply["dialogs"] if d["form"] == "S"]
        self.assertEqual(1, len(questions), reply)
        self.assertEqual((False, "none"), (questions[0]["answer"], questions[0]["answered_by"]))

if __name__ == "__main__":
    BIN_DIR = sys.argv.pop(1)
    unittest.main()
