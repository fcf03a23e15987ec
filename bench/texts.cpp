#include "bench/texts.h"

#include <array>
#include <string_view>

namespace vt::bench {
namespace {

constexpr std::size_t kWords = 24;
using Words = std::array<std::string_view, kWords>;

// The same plant vocabulary in eight languages (word i means the same in
// each); languages past the eighth reuse them.
constexpr std::array<Words, 8> kVocabulary = {{
    {"Pump",  "Valve",  "Tank",     "Level",   "Pressure", "Flow",     "Temperature", "Motor",
     "Alarm", "Boiler", "Feed",     "Steam",   "Drum",     "Conveyor", "Heater",      "Door",
     "Start", "Stop",   "Overview", "Summary", "Speed",    "Fault",    "Reset",       "Manual"},
    {"Pumpe",      "Ventil",          "Behälter", "Füllstand", "Druck",      "Durchfluss",
     "Temperatur", "Motor",           "Alarm",    "Kessel",    "Speisung",   "Dampf",
     "Trommel",    "Förderband",      "Heizung",  "Tür",       "Starten",    "Stoppen",
     "Übersicht",  "Zusammenfassung", "Drehzahl", "Störung",   "Rücksetzen", "Handbetrieb"},
    {"Pompe",          "Vanne",     "Réservoir",   "Niveau",    "Pression",      "Débit",
     "Température",    "Moteur",    "Alarme",      "Chaudière", "Alimentation",  "Vapeur",
     "Ballon",         "Convoyeur", "Réchauffeur", "Porte",     "Démarrer",      "Arrêter",
     "Vue d'ensemble", "Résumé",    "Vitesse",     "Défaut",    "Réinitialiser", "Manuel"},
    {"Pompa",         "Valvola",     "Serbatoio",        "Livello",    "Pressione",
     "Portata",       "Temperatura", "Motore",           "Allarme",    "Caldaia",
     "Alimentazione", "Vapore",      "Corpo cilindrico", "Nastro",     "Riscaldatore",
     "Porta",         "Avvio",       "Arresto",          "Panoramica", "Riepilogo",
     "Velocità",      "Guasto",      "Ripristino",       "Manuale"},
    {"ポンプ", "バルブ",   "タンク", "レベル", "圧力",   "流量",     "温度",     "モーター",
     "警報",   "ボイラー", "給水",   "蒸気",   "ドラム", "コンベヤ", "ヒーター", "ドア",
     "起動",   "停止",     "概要",   "一覧",   "速度",   "故障",     "リセット", "手動"},
    {"泵",   "阀门", "储罐", "液位", "压力", "流量",   "温度",   "电机",
     "报警", "锅炉", "给水", "蒸汽", "汽包", "输送机", "加热器", "门",
     "启动", "停止", "总览", "汇总", "速度", "故障",   "复位",   "手动"},
    {"Насос",       "Клапан",    "Бак",         "Уровень",       "Давление", "Расход",
     "Температура", "Двигатель", "Авария",      "Котёл",         "Питание",  "Пар",
     "Барабан",     "Конвейер",  "Нагреватель", "Дверь",         "Пуск",     "Стоп",
     "Обзор",       "Сводка",    "Скорость",    "Неисправность", "Сброс",    "Ручной"},
    {"Bomba",         "Válvula",       "Tanque",     "Nivel",   "Presión",      "Caudal",
     "Temperatura",   "Motor",         "Alarma",     "Caldera", "Alimentación", "Vapor",
     "Calderín",      "Transportador", "Calentador", "Puerta",  "Arrancar",     "Parar",
     "Vista general", "Resumen",       "Velocidad",  "Fallo",   "Restablecer",  "Manual"},
}};

// The word indices of a row: the same for every language of the row.
std::vector<std::size_t> RowWords(std::size_t row) {
  Rng rng(0x5eed0000ULL + row);
  // One text in ten is a description of eight to fourteen words.
  const std::size_t count = rng.Percent(10) ? 8 + rng.Below(7) : 1 + rng.Below(3);
  std::vector<std::size_t> words;
  for (std::size_t i = 0; i < count; ++i) words.push_back(rng.Below(kWords));
  return words;
}

}  // namespace

std::uint64_t Rng::Next() {
  std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

std::string DictionaryText(std::size_t row, int language) {
  const Words& words = kVocabulary[static_cast<std::size_t>(language - 1) % kVocabulary.size()];
  std::string text;
  for (std::size_t w : RowWords(row)) {
    if (!text.empty()) text += ' ';
    text += words[w];
  }
  return text + " " + std::to_string(row);
}

std::string NewText(const std::string& tag, std::size_t number) {
  return "Unlisted " + tag + " text " + std::to_string(number);
}

std::vector<std::string> LanguageHeaders(int languages) {
  std::vector<std::string> headers;
  for (int l = 1; l <= languages; ++l) headers.push_back("Language_" + std::to_string(l));
  return headers;
}

Cells DictionaryCells(std::size_t rows, int languages, unsigned padded_percent,
                      std::uint64_t seed) {
  Rng rng(seed);
  Cells cells(rows);
  for (std::size_t r = 0; r < rows; ++r) {
    for (int l = 1; l <= languages; ++l) {
      std::string text = DictionaryText(r + 1, l);
      if (padded_percent > 0 && rng.Percent(padded_percent)) {
        const std::size_t where = rng.Below(3);  // before, after, around
        if (where != 1) text.insert(0, 1 + rng.Below(3), ' ');
        if (where != 0) text.append(1 + rng.Below(3), ' ');
      }
      cells[r].push_back(std::move(text));
    }
  }
  return cells;
}

}  // namespace vt::bench
