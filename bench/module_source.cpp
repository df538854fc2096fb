// Reading and generating module texts for benchmarks.
#include "module_source.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "text/cp1251.h"

namespace tintmark::bench {

std::vector<std::string> ReadModuleLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            size_t end = i;
            if (end > start && text[end - 1] == '\r') --end;
            if (i < text.size() || start < text.size()) lines.push_back(text.substr(start, end - start));
            start = i + 1;
        }
    }
    return lines;
}

std::vector<std::string> LargestCorpusModule(std::string* name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path best;
    uintmax_t bestSize = 0;
    for (const auto& entry : fs::directory_iterator(TINTMARK_CORPUS_DIR, ec)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
        if (entry.file_size() > bestSize) {
            bestSize = entry.file_size();
            best = entry.path();
        }
    }
    if (best.empty()) return {};
    if (name) *name = best.filename().string();
    return ReadModuleLines(best.string());
}

std::vector<std::string> GenerateModule(int lineCount) {
    // Written in UTF-8 here, converted once to Windows-1251.
    const char* body[] = {
        "\t// Расчёт суммы по строкам документа",
        "\tСумма = 0;",
        "\tДля Сч = 1 По Док.КоличествоСтрок() Цикл",
        "\t\tЕсли (Док.Сумма(Сч) > 0) И (Док.Флаг = 1) Тогда",
        "\t\t\tСумма = Сумма + Окр(Док.Сумма(Сч), 2);",
        "\t\tИначеЕсли Док.Вид = \"Возврат (без НДС)\" Тогда",
        "\t\t\tСумма = Сумма - Док.Сумма(Сч);",
        "\t\tКонецЕсли;",
        "\tКонецЦикла;",
        "\tПопытка",
        "\t\tЗаписать(Формат(Сумма, \"Ч15.2\"));",
        "\tИсключение",
        "\t\tСообщить(\"Ошибка: \" + ОписаниеОшибки(), \"!\");",
        "\tКонецПопытки;",
        "\tПока Сумма > 100 Цикл Сумма = Сумма / 2; КонецЦикла;",
    };
    std::vector<std::string> lines;
    int method = 0;
    while (static_cast<int>(lines.size()) < lineCount) {
        const bool function = method % 3 == 2;
        const std::string name = (function ? "ПолучитьЗначение" : "ОбработатьСтроку") + std::to_string(method);
        lines.push_back(Utf8To1251((function ? "Функция " : "Процедура ") + name + "(Док, Параметр = 0) Экспорт"));
        for (const char* line : body) lines.push_back(Utf8To1251(line));
        if (function) lines.push_back(Utf8To1251("\tВозврат Сумма;"));
        lines.push_back(Utf8To1251(function ? "КонецФункции" : "КонецПроцедуры"));
        lines.push_back("");
        ++method;
    }
    lines.resize(static_cast<size_t>(lineCount));
    return lines;
}

}  // namespace tintmark::bench
