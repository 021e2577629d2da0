#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "lisp/builtins.h"
#include "lisp/interpreter.h"
#include "lisp_test_support.h"
#include "support/files.h"
#include "support/scratch_dir.h"

TEST(LispValues, PrintAsTheCommandLineShowsThem) {
  EXPECT_EQ(lispOutput("(list nil nil)"), "(nil nil)");
  EXPECT_EQ(lispOutput("(list 1 0.2 0.0)"), "(1 0.2 0.0)");
  EXPECT_EQ(lispOutput("'(1 . 2)"), "(1 . 2)");
  EXPECT_EQ(lispOutput("'(a (b . c) \"s\" (nil))"), "(A (B . C) \"s\" (nil))");
  EXPECT_EQ(lispOutput("(setq flag T)"), "T");
  EXPECT_EQ(lispOutput("(quote x)"), "X");
  EXPECT_EQ(lispOutput("''x"), "(QUOTE X)");
  EXPECT_EQ(lispOutput("(list -5 +7 3.14159265 1e20 2147483648 .5)"), "(-5 7 3.14159 1.0e+20 2.14748e+09 0.5)");
  EXPECT_EQ(lispOutput("(setq ignored 1) ; a comment ;| and |; a block"), "1");
}

TEST(LispValues, StringsKeepTheirEscapes) {
  EXPECT_EQ(lispOutput(R"((setq s "a\"b\\c\nd\te"))"), R"("a\"b\\c\nd\te")");
  EXPECT_EQ(lispOutput("(princ s)"), "a\"b\\c\nd\te\"a\\\"b\\\\c\\nd\\te\"");
  EXPECT_EQ(lispOutput(R"((prin1 "\101\e"))"), R"("A\e""A\e")");
}

TEST(LispSymbols, AreMatchedWithoutRegardToCase) {
  EXPECT_EQ(lispOutput("(SETQ MixedCase 5 other '(1 2))"), "(1 2)");
  EXPECT_EQ(lispOutput("!mixedcase"), "5");
  EXPECT_EQ(lispOutput("(CAR OTHER)"), "1");
  EXPECT_EQ(lispOutput("!never_set_symbol"), "nil");
}

TEST(LispLists, CarCdrAndList) {
  EXPECT_EQ(lispOutput("(car '(1 2 3))"), "1");
  EXPECT_EQ(lispOutput("(cdr '(1 2 3))"), "(2 3)");
  EXPECT_EQ(lispOutput("(cdr '(1 . 2))"), "2");
  EXPECT_EQ(lispOutput("(car nil)"), "nil");
  EXPECT_EQ(lispOutput("(car (cdr (list 1 (list 2 3))))"), "(2 3)");
  EXPECT_EQ(lispOutput("(list)"), "nil");
}

TEST(LispOutput, PrincPrin1AndPrint) {
  EXPECT_EQ(lispOutput("(princ \"hi\")"), "hi\"hi\"");
  EXPECT_EQ(lispOutput("(prin1 \"hi\")"), "\"hi\"\"hi\"");
  EXPECT_EQ(lispOutput("(print 12)"), "\n12 12");
  EXPECT_EQ(lispOutput("(princ)"), "");
  EXPECT_EQ(lispOutput("(princ '(1 \"a\"))"), "(1 a)(1 \"a\")");
}

TEST(LispErrors, AreReportedAndTheNextLineStillWorks) {
  bool ok = true;
  EXPECT_EQ(lispOutput("(foo 1)", &ok), "; error: no function definition: FOO");
  EXPECT_FALSE(ok);
  EXPECT_EQ(lispOutput("(setq a"), "; error: malformed list on input");
  EXPECT_EQ(lispOutput("(car '(1)))"), "; error: extra right paren on input");
  EXPECT_EQ(lispOutput("(princ \"abc"), "; error: malformed string on input");
  EXPECT_EQ(lispOutput("'(1 . )"), "; error: malformed list on input");
  EXPECT_EQ(lispOutput("'(1 . 2 3)"), "; error: malformed list on input");
  EXPECT_EQ(lispOutput("(car 1)"), "; error: bad argument type: consp 1");
  EXPECT_EQ(lispOutput("(car \"x\")"), "; error: bad argument type: consp \"x\"");
  EXPECT_EQ(lispOutput("(car)"), "; error: too few arguments");
  EXPECT_EQ(lispOutput("(car '(1) 2)"), "; error: too many arguments");
  EXPECT_EQ(lispOutput("(setq 1 2)"), "; error: bad argument type: symbolp 1");
  EXPECT_EQ(lispOutput("(setq T 2)"), "; error: bad argument type: symbolp T");
  EXPECT_EQ(lispOutput("(setq a 1 b)"), "; error: too few arguments");
  EXPECT_EQ(lispOutput("((list 1) 2)"), "; error: bad function: (1)");
  EXPECT_EQ(lispOutput("(list 1e999)"), "; error: invalid number: 1e999");
  EXPECT_EQ(lispOutput("(car '(1 2))", &ok), "1");
  EXPECT_TRUE(ok);
}

TEST(LispErrors, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  EXPECT_EQ(lispOutput(std::string(100000, '(')), "; error: nesting too deep on input");
  EXPECT_EQ(lispOutput(std::string(100000, '\'') + "x"), "; error: nesting too deep on input");
  std::string accepted;
  for (int i = 0; i < 500; ++i) accepted += "(list ";
  accepted += "1" + std::string(500, ')');
  EXPECT_EQ(lispOutput(accepted), std::string(500, '(') + "1" + std::string(500, ')'));
}

class LispLoad : public testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    test_support::writeFile(m_scratch.file(name), text);
    return m_scratch.file(name);
  }
  test_support::ScratchDir m_scratch;
  std::string m_dir = m_scratch.path();
};

TEST_F(LispLoad, EvaluatesEveryExpressionAndAddsTheExtension) {
  std::string path = write("prog.lsp", "(setq loaded_x 1)\n(princ \"in file\")\n(setq loaded_y '(a b))\n");
  std::string base = path.substr(0, path.size() - 4);
  EXPECT_EQ(lispOutput("(load \"" + base + "\")"), "in file(A B)");
  EXPECT_EQ(lispOutput("(list loaded_x loaded_y)"), "(1 (A B))");
}

TEST_F(LispLoad, MissingFileFailsOrGivesTheFallback) {
  EXPECT_EQ(lispOutput("(load \"no_such_program\")"), "; error: LOAD failed: \"no_such_program\"");
  EXPECT_EQ(lispOutput("(load \"no_such_program\" 'gone)"), "GONE");
  EXPECT_EQ(lispOutput("(load 5)"), "; error: bad argument type: stringp 5");
  EXPECT_EQ(lispOutput("(load \"" + m_dir + "\")"), "; error: LOAD failed: \"" + m_dir + "\"");
}

TEST_F(LispLoad, ErrorsInsideAFileStopIt) {
  std::string path = write("bad.lsp", "(setq before_error 1)\n(undefined_fn)\n(setq after_error 1)\n");
  EXPECT_EQ(lispOutput("(load \"" + path + "\")"), "; error: no function definition: UNDEFINED_FN");
  EXPECT_EQ(lispOutput("(list before_error after_error)"), "(1 nil)");
}

TEST_F(LispLoad, AFileLoadingItselfStopsAtTheNestingBound) {
  std::string path = m_scratch.file("self.lsp");
  write("self.lsp", "(load \"" + path + "\")\n");
  EXPECT_EQ(lispOutput("(load \"" + path + "\")"), "; error: nesting too deep");
}

TEST_F(LispLoad, DeepStructuresPrintAndCollectWithoutRecursion) {
  std::string program = "(setq deep nil)\n";
  for (int i = 0; i < 20000; ++i) program += "(setq deep (list deep))\n";
  program += "(princ)\n";
  std::string path = write("deep.lsp", program);
  EXPECT_EQ(lispOutput("(load \"" + path + "\")"), "");
  std::string printed = lispOutput("!deep");
  EXPECT_EQ(printed, std::string(20000, '(') + "nil" + std::string(20000, ')'));
  EXPECT_EQ(lispOutput("(setq deep nil)"), "nil");
}

TEST(LispStore, CollectsWhatNoSymbolReaches) {
  lisp::Interpreter lisp;
  lisp::defineCoreBuiltins(lisp);
  lisp.evalText("(setq kept (list 1 2 3))");
  lisp.store().collect();
  size_t baseline = lisp.store().liveCount();
  for (int i = 0; i < 200; ++i) lisp.evalText("(list 4 5 6 \"text\")");
  EXPECT_GT(lisp.store().liveCount(), baseline + 200 * 4);
  lisp.store().collect();
  EXPECT_EQ(lisp.store().liveCount(), baseline);
  lisp::Value kept = lisp.evalText("kept");
  ASSERT_TRUE(lisp::isCons(kept));
  EXPECT_EQ(kept->cdr->cdr->car->integer, 3);
}
